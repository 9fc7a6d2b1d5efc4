// The restart mechanism of the Windows 95 family: section [Rename] of WININIT.INI in the
// Windows directory, carried out early during the next start, where a line destination=source
// replaces a file and a line NUL=file deletes one. That start-up knows short (8.3) names only
// and moves files within one volume, so every line names short paths on one drive.
#pragma once

#include <string>

namespace qxi {

/// Records that `source` replaces `destination` at restart, both by their short full paths;
/// a later call for the same destination replaces the earlier line. Raises QXErr
/// kRunTimeError with the system's error when a name has no short form (ShortPathForRestart),
/// when the two lie on different drives (ERROR_NOT_SAME_DEVICE) or when the file cannot be
/// written; nothing is recorded then.
void WininitReplace(const std::string& destination, const std::string& source);

/// Records that `file` is deleted at restart (a line NUL=its short path), unless an equal
/// line is there already; lines of other programs are kept. Raises as WininitReplace.
void WininitDelete(const std::string& file);

/// The source recorded for `destination`, as recorded (a short path); empty when there is
/// none, or when `destination` has no short form under which it could be recorded.
std::string WininitSource(const std::string& destination);

}  // namespace qxi
