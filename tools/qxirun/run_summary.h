// The closing summary of a qxirun run.
#pragma once

#include <string>

#include "progress_tracker.h"

namespace qxirun {

/// The summary lines, each ending in "\n":
///   Sections run: N / Lines run: N / Errors logged: N / Bytes copied: N /
///   Deferred operations waiting in WININIT.INI [Rename]: N
std::string FormatSummary(const RunCounts& counts, int deferred_operations);

}  // namespace qxirun
