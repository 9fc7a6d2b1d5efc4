// The engine's own commands of the Misc group: NOP, which does nothing but take its progress
// step, and Include, which runs a master section of another script (or of the same one)
// nested inside the current line.
#pragma once

#include "engine/command_row.h"

namespace qxi {

/// Nested Include runs allowed at once; one more is refused.
constexpr int kMaxIncludeDepth = 32;

/// Counts one nested Include run for its lifetime. Raises QXErr kRunTimeError with
/// ERROR_STACK_OVERFLOW when kMaxIncludeDepth runs are already nested.
class IncludeDepthGuard {
 public:
  IncludeDepthGuard();
  ~IncludeDepthGuard();
  IncludeDepthGuard(const IncludeDepthGuard&) = delete;
  IncludeDepthGuard& operator=(const IncludeDepthGuard&) = delete;
};

namespace engine_commands {

inline constexpr PathAt kScript{0};
inline constexpr PathAt kMasterSection{1};

/// "NOP": nothing.
void DoNothing(const ParamList& params);

/// "Include": opens the script kScript names and runs its master section kMasterSection, with
/// its own conditions and command groups. Failures inside are reported by the nested run.
/// Raises QXErr kRunTimeError with ERROR_STACK_OVERFLOW past kMaxIncludeDepth nested runs.
void IncludeScript(const ParamList& params);

inline constexpr CommandRow kRows[] = {
    {"Misc", "NOP", {}, &DoNothing},
    {"Misc", "Include", {kScript("Script file"), kMasterSection("Master Section")}, &IncludeScript},
};

}  // namespace engine_commands
}  // namespace qxi
