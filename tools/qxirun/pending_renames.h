// The operations waiting for the next restart, in both of the system's records: the Session
// Manager's PendingFileRenameOperations (the NT family) and [Rename] of WININIT.INI (the 95
// family).
#pragma once

#include "run_summary.h"

namespace qxirun {

/// Counts both records of this machine, the engine's operations and other programs' alike
/// (a replacement or a deletion is one operation); a record that is missing or unreadable
/// counts 0.
WaitingOperations CountWaitingOperations();

}  // namespace qxirun
