#include "files/deferred_operations.h"

#include <windows.h>

#include "ini/ini_file.h"

namespace qxi {
namespace {

constexpr char kRestartActionsFile[] = "WININIT.INI";
constexpr char kRenameSection[] = "Rename";
// The key of a line that deletes its value's file instead of replacing a file by it.
constexpr char kDeleteKey[] = "NUL";

// The restart runs in another current directory: a relative name (".\\app.dll", as a
// script copying from its own folder gives) is recorded as the full path it means now. A
// name the system cannot complete is recorded as it stands.
std::string FullPath(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0],
                                  nullptr);
  if (length >= full.size()) {  // too small: the answer is the size needed
    full.assign(length, '\0');
    length = GetFullPathNameA(path.c_str(), length, &full[0], nullptr);
    if (length >= full.size()) length = 0;
  }
  if (length == 0) return path;
  full.resize(length);
  return full;
}

}  // namespace

void ScheduleReplace(const std::string& destination, const std::string& source) {
  // A failed write is not reported: the restart file is the last resort already.
  IniFile(kRestartActionsFile)
      .WriteString(kRenameSection, FullPath(destination), FullPath(source));
}

void ScheduleDelete(const std::string& file) {
  // WriteString would keep only one NUL line; every file to delete needs a line of its own.
  IniFile(kRestartActionsFile)
      .AddLine(kRenameSection, std::string(kDeleteKey) + "=" + FullPath(file));
}

std::string PendingSource(const std::string& destination) {
  return IniFile(kRestartActionsFile).GetString(kRenameSection, FullPath(destination));
}

}  // namespace qxi
