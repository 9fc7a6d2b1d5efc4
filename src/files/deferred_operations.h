// Files in use are replaced or deleted at the next start of Windows, by the mechanism of the
// running system: on the NT family the operation is recorded with MoveFileExA in the Session
// Manager's PendingFileRenameOperations (delayed_file_operations.h); on the 95 family in
// [Rename] of WININIT.INI, by short names (wininit_file_operations.h). Recording never asks
// for a restart. An operation that cannot be recorded raises the engine's run-time error, so
// that the line is reported: nothing is reported as done that will not happen.
#pragma once

#include <string>

namespace qxi {

/// Records that `destination` is to be replaced by `source` at restart. A later call for the
/// same destination (names compared ignoring case) replaces the earlier record, so only the
/// last source survives. Raises QXErr kRunTimeError with the system's error when it cannot
/// be recorded (no right to, a name the mechanism cannot carry); nothing is recorded then.
void ScheduleReplace(const std::string& destination, const std::string& source);

/// Records that `temporary_file`, a staged copy (MakeStagedCopyName), replaces `destination`
/// at restart. A staged copy that an earlier run left waiting for the same destination is
/// deleted, since its record is replaced; a file of anyone else waiting there is left alone.
/// Raises as ScheduleReplace; the earlier copy stays then.
void ScheduleTemporaryReplace(const std::string& destination, const std::string& temporary_file);

/// Records that `file` is to be deleted at restart, unless its deletion is recorded already;
/// operations of other programs are kept. Raises as ScheduleReplace.
void ScheduleDelete(const std::string& file);

/// The source recorded for `destination` by an earlier ScheduleReplace, whole however long,
/// as the mechanism records it (a short path on the 95 family); empty when none is recorded.
/// Never raises.
std::string PendingSource(const std::string& destination);

}  // namespace qxi
