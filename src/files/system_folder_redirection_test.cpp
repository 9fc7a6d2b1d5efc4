// Undoing the system-folder redirection of a 32-bit program on 64-bit Windows. This 64-bit
// test stands in for it with Wine's Z: drive, which shows the prefix's C: drive under another
// name: a folder seen through both names is one folder, as a redirected system32 and the
// SysWOW64 it leads to are.
#include "files/system_folder_redirection.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/script_runner.h"

namespace qxi {
namespace {

// The name of `path` (on C:) through the Z: drive.
std::string ThroughUnixRoot(const std::string& path) {
  char prefix[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
  std::string alias = "Z:" + std::string(prefix, length < MAX_PATH ? length : 0) + "/drive_c";
  for (char& c : alias) {
    if (c == '/') c = '\\';
  }
  return alias + path.substr(2);
}

TEST(SystemFolderRedirection, NamesInTheProgramsViewBecomeTheFilesTheyLeadTo) {
  qxi_test::TempDir dir;
  const std::string system = dir.path() + "\\system32", other = dir.path() + "\\other";
  ASSERT_TRUE(CreateDirectoryA(system.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((system + "\\sub").c_str(), nullptr));
  const std::string native = ThroughUnixRoot(system);
  ASSERT_NE(GetFileAttributesA(native.c_str()), INVALID_FILE_ATTRIBUTES) << native;
  const RedirectedFolders redirected{system, native, dir.path() + "\\Sysnative"};

  EXPECT_EQ(UndoRedirection(system + "\\X.DLL", redirected), native + "\\X.DLL");
  EXPECT_EQ(UndoRedirection(system + "\\sub\\X.DLL", redirected), native + "\\sub\\X.DLL");
  EXPECT_EQ(UndoRedirection(dir.path() + "\\SYSNATIVE\\X.DLL", redirected), system + "\\X.DLL");
  // Not below the folder, or below a folder that does not exist: as it stands.
  EXPECT_EQ(UndoRedirection(system + "x\\X.DLL", redirected), system + "x\\X.DLL");
  EXPECT_EQ(UndoRedirection(system + "\\none\\X.DLL", redirected), system + "\\none\\X.DLL");

  // Where the view leads to the folder itself (redirection off, or a folder Windows exempts
  // from it), the name stays.
  const RedirectedFolders not_redirected{system, other, dir.path() + "\\Sysnative"};
  EXPECT_EQ(UndoRedirection(system + "\\X.DLL", not_redirected), system + "\\X.DLL");
}

}  // namespace
}  // namespace qxi
