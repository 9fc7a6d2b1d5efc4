// The folders of the Windows machine, looked up afresh for every macro occurrence: the
// Windows, system and temporary directories, the first CD-ROM drive, the user's shell
// folders and the programs folder from the registry, and the running script's folder.
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
constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

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

// Windows keeps this value apart for 32-bit programs on 64-bit Windows (the registry's
// 32-bit view), where it names "Program Files (x86)": each kind of program reads its own.
std::string ProgramFilesFolder() {
  RegKey key = RootKey(kRootLocalMachine).Open(kCurrentVersion);
  return key.QueryString("ProgramFilesDir");
}

// The running script's folder; a script named relative to the current folder is completed
// against it, which the engine never changes during a run.
std::string ScriptFolder() {
  const std::string& script = MacroScriptPath();
  if (script.empty()) return std::string();
  const std::string full = ReadUntilComplete(kDirectoryBuffer, 0, [&](char* buffer, size_t size) {
    return size_t{GetFullPathNameA(script.c_str(), static_cast<DWORD>(size), buffer, nullptr)};
  });
  return FolderOfScript(full);
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
    case kProgramFiles: return ProgramFilesFolder();
    case kScriptDir: return ScriptFolder();
    default: return std::string();
  }
}

}  // namespace qxi
