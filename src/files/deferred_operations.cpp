#include "files/deferred_operations.h"

#include "ini/ini_file.h"

namespace qxi {
namespace {

constexpr char kRestartActionsFile[] = "WININIT.INI";
constexpr char kRenameSection[] = "Rename";
// The key of a line that deletes its value's file instead of replacing a file by it.
constexpr char kDeleteKey[] = "NUL";

}  // namespace

void ScheduleReplace(const std::string& destination, const std::string& source) {
  // A failed write is not reported: the restart file is the last resort already.
  IniFile(kRestartActionsFile).WriteString(kRenameSection, destination, source);
}

void ScheduleDelete(const std::string& file) {
  // WriteString would keep only one NUL line; every file to delete needs a line of its own.
  IniFile(kRestartActionsFile).AddLine(kRenameSection, std::string(kDeleteKey) + "=" + file);
}

std::string PendingSource(const std::string& destination) {
  return IniFile(kRestartActionsFile).GetString(kRenameSection, destination);
}

}  // namespace qxi
