// The closing summary of a qxirun run.
#pragma once

#include <string>

#include "progress_tracker.h"

namespace qxirun {

/// The summary lines, each ending in "\n": Sections run, Lines run, Lines skipped by a
/// condition, Errors logged, Files written, Files left by priority, Files waiting for the
/// restart, Bytes written, then "Deferred operations waiting in WININIT.INI [Rename]: N".
std::string FormatSummary(const RunCounts& counts, int deferred_operations);

}  // namespace qxirun
