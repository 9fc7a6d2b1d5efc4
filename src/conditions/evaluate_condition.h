// The engine side of the EvaluateCondition export: one condition of a script, without
// running anything else.
#pragma once

namespace qxi {

/// The value (1 or 0) of condition `name` of the script at `script_path`: 1 when the script
/// cannot be opened or has no Conditions section (or anything else fails), 0 for a name no
/// line defined. Sends no message of its own; failing test lines are reported as in a run.
int EvaluateScriptCondition(const char* script_path, const char* name) noexcept;

}  // namespace qxi
