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

/// The summary lines, each ending in "\n": Sections run, Lines run, Lines skipped by a
/// condition, Errors logged, Files written, Files left by priority, Files waiting for the
/// restart, Bytes written, then "Deferred operations waiting in PendingFileRenameOperations:
/// N" and "Deferred operations waiting in WININIT.INI [Rename]: N".
std::string FormatSummary(const RunCounts& counts, const WaitingOperations& waiting);

}  // namespace qxirun
