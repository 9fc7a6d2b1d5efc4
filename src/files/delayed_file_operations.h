// The restart mechanism of the NT family: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT
// records each operation in the Session Manager's PendingFileRenameOperations, which the
// system carries out early during its next start. Recording needs the right to set values of
// that key, which administrators have and other users lack.
#pragma once

#include <string>

namespace qxi {

/// Records that `source` replaces `destination` at restart (MOVEFILE_REPLACE_EXISTING). A
/// replacement recorded earlier for the same destination (names compared ignoring case) is
/// dropped, so only the last source is put in place. Names are recorded as RestartPath gives
/// them. Raises QXErr kRunTimeError with the system's error when it cannot be recorded;
/// nothing is recorded then.
void DelayReplace(const std::string& destination, const std::string& source);

/// Records that `file` is deleted at restart, unless its deletion is recorded already.
/// Raises as DelayReplace.
void DelayDelete(const std::string& file);

/// The source of the last replacement recorded for `destination`, as recorded (a full path);
/// empty when there is none. Never raises.
std::string DelayedSource(const std::string& destination);

}  // namespace qxi
