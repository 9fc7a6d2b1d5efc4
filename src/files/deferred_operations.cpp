#include "files/deferred_operations.h"

#include <windows.h>

#include "engine/read_until_complete.h"
#include "engine/text_compare.h"
#include "files/ini_file.h"
#include "files/path_utils.h"

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
  const std::string full = ReadUntilComplete(MAX_PATH, 0, [&](char* buffer, size_t size) {
    return size_t{GetFullPathNameA(path.c_str(), static_cast<DWORD>(size), buffer, nullptr)};
  });
  return full.empty() ? path : full;
}

}  // namespace

void ScheduleReplace(const std::string& destination, const std::string& source) {
  // A failed write is not reported: the restart file is the last resort already.
  IniFile(kRestartActionsFile)
      .WriteString(kRenameSection, FullPath(destination), FullPath(source));
}

void ScheduleTemporaryReplace(const std::string& destination,
                              const std::string& temporary_file) {
  // Should the earlier file have vanished, the system may have given its name to the new
  // one, which must stay.
  const std::string earlier = PendingSource(destination);
  if (IsOwnTemporaryFile(earlier) && !NamesEqual(earlier, temporary_file)) {
    SetFileAttributesA(earlier.c_str(), FILE_ATTRIBUTE_NORMAL);  // it may be read-only
    DeleteFileA(earlier.c_str());
  }
  ScheduleReplace(destination, temporary_file);
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
