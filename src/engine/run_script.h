// The bodies of the exports ProcessQXS and EvaluateCondition, callable without the DLL.
#pragma once

namespace qxi {

/// The report for a script that cannot be opened (not part of the string table).
constexpr const char* kCouldntOpenScript = "Couldn't open script file";

/// Runs master section `section_name` of the script at `script_path`. Every failure goes to
/// the log callback; nothing escapes. A null path is a script that cannot be opened; a null
/// section name is a section that is not found.
void RunScript(const char* script_path, const char* section_name) noexcept;

/// The value (1 or 0) of condition `name` of the script at `script_path`: 1 when the script
/// cannot be opened or has no Conditions section (or anything else fails), 0 for a name no
/// line defined. Sends no message of its own; failing test lines are reported as in a run.
int EvaluateScriptCondition(const char* script_path, const char* name) noexcept;

}  // namespace qxi
