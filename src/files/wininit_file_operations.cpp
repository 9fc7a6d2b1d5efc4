#include "files/wininit_file_operations.h"

#include <windows.h>

#include "engine/full_path.h"
#include "engine/qx_err.h"
#include "engine/text_compare.h"
#include "files/ini_file.h"
#include "files/short_path.h"

namespace qxi {
namespace {

constexpr char kRestartActionsFile[] = "WININIT.INI";
constexpr char kRenameSection[] = "Rename";
// The key of a line that deletes its value's file instead of replacing a file by it.
constexpr char kDeleteKey[] = "NUL";

std::string RecordedName(const std::string& path) {
  return ShortPathForRestart(FullPathOf(path));
}

// Both names start with a drive (ShortPathForRestart sees to that): its letter is the volume.
bool SameDrive(const std::string& a, const std::string& b) {
  return NamesEqual(std::string_view(a).substr(0, 2), std::string_view(b).substr(0, 2));
}

}  // namespace

void WininitReplace(const std::string& destination, const std::string& source) {
  const std::string to = RecordedName(destination);
  const std::string from = RecordedName(source);
  if (!SameDrive(to, from)) throw QXErr(kRunTimeError, ERROR_NOT_SAME_DEVICE);
  SetLastError(ERROR_SUCCESS);
  if (!IniFile(kRestartActionsFile).WriteString(kRenameSection, to, from)) {
    throw QXErr(kRunTimeError, GetLastError());
  }
}

void WininitDelete(const std::string& file) {
  // WriteString would keep only one NUL line; every file to delete needs a line of its own.
  const std::string line = std::string(kDeleteKey) + "=" + RecordedName(file);
  SetLastError(ERROR_SUCCESS);
  if (!IniFile(kRestartActionsFile).AddLine(kRenameSection, line)) {
    throw QXErr(kRunTimeError, GetLastError());
  }
}

std::string WininitSource(const std::string& destination) {
  try {
    return IniFile(kRestartActionsFile).GetString(kRenameSection, RecordedName(destination));
  } catch (const QXErr&) {  // no short form: nothing can have been recorded under it
    return "";
  }
}

}  // namespace qxi
