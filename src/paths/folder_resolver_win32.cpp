// The folders of the Windows machine, looked up afresh for every macro occurrence: the
// Windows, system and temporary directories, the first CD-ROM drive, and the user's shell
// folders from the registry.
#include <windows.h>

#include "engine/folder_macros.h"
#include "engine/read_until_complete.h"
#include "registry/reg_key.h"

namespace qxi {
namespace {

constexpr size_t kDirectoryBuffer = 260;
// Room for the roots of 24 drives; a longer list is read again into a larger buffer.
constexpr size_t kDriveListBuffer = 98;
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

template <typename Query>
std::string QueryDirectory(Query query) {
  char buffer[kDirectoryBuffer];
  UINT length = query(static_cast<UINT>(kDirectoryBuffer), buffer);
  return DirectoryQueryText(length, buffer, kDirectoryBuffer);
}

bool IsCdrom(const char* root) { return GetDriveTypeA(root) == DRIVE_CDROM; }

std::string CdromDrive() {
  const std::string list = ReadUntilComplete(kDriveListBuffer, 0, [](char* buffer, size_t size) {
    return size_t{GetLogicalDriveStringsA(static_cast<DWORD>(size), buffer)};
  });
  return FirstCdromDrive(list.data(), list.size(), IsCdrom);
}

std::string ShellFolder(const char* value) {
  RegKey key = RootKey(kRootCurrentUser).Open(kShellFolders);
  return key.QueryString(value);  // the key is closed on every path by its holder
}

}  // namespace

std::string ResolveFolder(size_t position) {
  switch (position) {
    case kCdrom: return CdromDrive();
    case kWinDir:
      return QueryDirectory([](UINT n, char* b) { return GetWindowsDirectoryA(b, n); });
    case kSysDir:
      return QueryDirectory([](UINT n, char* b) { return GetSystemDirectoryA(b, n); });
    case kTemp:
      return QueryDirectory([](UINT n, char* b) { return static_cast<UINT>(GetTempPathA(n, b)); });
    case kStart: return ShellFolder("Start Menu");
    case kStartup: return ShellFolder("Startup");
    case kProgs: return ShellFolder("Programs");
    case kDesktop: return ShellFolder("Desktop");
    default: return std::string();
  }
}

}  // namespace qxi
