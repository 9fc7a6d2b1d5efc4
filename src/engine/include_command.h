// Include: runs a master section of another script (or of the same one), nested inside the
// current line.
#pragma once

#include "engine/params.h"

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

/// Opens the script "Script file" names and runs its master section "Master Section", with
/// its own conditions and command groups. Failures inside are reported by the nested run.
/// Raises QXErr kRunTimeError with ERROR_STACK_OVERFLOW past kMaxIncludeDepth nested runs.
void IncludeScript(const ParamList& params);

}  // namespace qxi
