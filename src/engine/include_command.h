// Include: runs a master section of another script (or of the same one), nested inside the
// current line.
#pragma once

#include "engine/params.h"

namespace qxi {

/// Nested Include runs allowed at once; one more is refused.
constexpr int kMaxIncludeDepth = 32;

/// Opens the script "Script file" names and runs its master section "Master Section", with
/// its own conditions and command groups. Failures inside are reported by the nested run.
/// Raises QXErr kRunTimeError with ERROR_STACK_OVERFLOW past kMaxIncludeDepth nested runs.
void IncludeScript(const ParamList& params);

}  // namespace qxi
