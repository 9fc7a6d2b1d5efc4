// IniFile on real files in the Windows directory of the test prefix.
#include "files/ini_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ini_text.h"

namespace qxi {
namespace {

using qxi_test::FileLines;
using Texts = std::vector<std::string>;

std::string SystemWindowsDirectory() {
  char buffer[MAX_PATH];
  UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  return std::string(buffer, length);
}

TEST(IniFile, PathIsTheWindowsDirectoryAndTheName) {
  IniFile wininit("WININIT.INI");
  EXPECT_EQ(wininit.path(), SystemWindowsDirectory() + "\\WININIT.INI");
  EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, wininit.path().c_str(), -1,
                           "C:\\windows\\WININIT.INI", -1),
            CSTR_EQUAL)
      << wininit.path();
}

// A file of its own in the Windows directory, removed at the end.
class IniFileInWindows : public ::testing::Test {
 protected:
  ~IniFileInWindows() override { DeleteFileA(file_.path().c_str()); }

  IniFile file_{"qxi_inifile_" + std::to_string(GetCurrentProcessId()) + ".ini"};
};

TEST_F(IniFileInWindows, WritesReadsAndAddsLines) {
  EXPECT_EQ(file_.GetString("Rename", "C:\\a.dll"), "");
  EXPECT_TRUE(file_.WriteString("Rename", "C:\\a.dll", "C:\\first.tmp"));
  EXPECT_TRUE(file_.WriteString("Rename", "c:\\A.DLL", "C:\\second.tmp"));  // replaces
  file_.AddLine("Rename", "NUL=C:\\x.tmp");
  file_.AddLine("Rename", "NUL=C:\\y.tmp");   // same key, kept beside the first
  file_.AddLine("Rename", "nul=c:\\X.TMP");   // equal ignoring case: not added
  std::string long_source = "C:\\" + std::string(400, 'p') + ".tmp";
  EXPECT_TRUE(file_.WriteString("Rename", "C:\\b.dll", long_source));
  EXPECT_EQ(file_.GetString("rename", "C:\\A.dll"), "C:\\second.tmp");
  EXPECT_EQ(file_.GetString("Rename", "C:\\b.dll"), long_source);
  EXPECT_EQ(FileLines(file_.path()),
            Texts({"[Rename]", "C:\\a.dll=C:\\second.tmp", "NUL=C:\\x.tmp", "NUL=C:\\y.tmp",
                   "C:\\b.dll=" + long_source}));
}

TEST(IniFile, WriteStringReportsAFailedWrite) {
  IniFile nowhere("qxi_no_such_folder\\file.ini");
  EXPECT_FALSE(nowhere.WriteString("S", "k", "v"));
  EXPECT_EQ(nowhere.GetString("S", "k"), "");
}

}  // namespace
}  // namespace qxi
