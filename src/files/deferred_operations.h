// Files in use are replaced or deleted at the next start of Windows: the operation is
// recorded in section [Rename] of WININIT.INI in the Windows directory, where a line
// destination=source replaces a file and a line NUL=file deletes one. Recording never
// reports a failure and never asks for a restart.
#pragma once

#include <string>

namespace qxi {

/// Records that `destination` is to be replaced by `source` at restart. A later call for the
/// same destination (names compared ignoring case) replaces the earlier line, so only the
/// last source survives.
void ScheduleReplace(const std::string& destination, const std::string& source);

/// Records that `temporary_file` (made by MakeTempFileName) replaces `destination` at restart.
/// A temporary file of ours that an earlier run left waiting for the same destination is
/// deleted, since its line is replaced; a file of anyone else waiting there is left alone.
void ScheduleTemporaryReplace(const std::string& destination, const std::string& temporary_file);

/// Records that `file` is to be deleted at restart, unless an equal line (ignoring case) is
/// recorded already; lines of other programs in [Rename] are kept.
void ScheduleDelete(const std::string& file);

/// The source recorded for `destination` by an earlier ScheduleReplace, whole however long;
/// empty when none is recorded.
std::string PendingSource(const std::string& destination);

}  // namespace qxi
