// The closing summary of a qxirun run.
#pragma once

#include <string>

#include "progress_tracker.h"

namespace qxirun {

/// The operations waiting for the next restart in each of the system's records.
struct WaitingOperations {
  int file_renames = 0;  // in PendingFileRenameOperations (the NT family)
  int wininit = 0;       // in [Rename] of WININIT.INI (the 95 family)
};

/// The summary lines, each ending in "\n":
///   Sections run: N / Lines run: N / Errors logged: N / Bytes copied: N /
///   Deferred operations waiting in PendingFileRenameOperations: N /
///   Deferred operations waiting in WININIT.INI [Rename]: N
std::string FormatSummary(const RunCounts& counts, const WaitingOperations& waiting);

}  // namespace qxirun
