#include "conditions/evaluate_condition.h"

#include "engine/script_file.h"

namespace qxi {

int EvaluateScriptCondition(const char* script_path, const char* name) noexcept {
  int result = 1;
  try {
    ScriptFile script(script_path);  // an unopened script has no sections
    ConditionMap conditions = script.LoadConditions();
    auto found = conditions.find(name != nullptr ? name : "");
    result = found != conditions.end() && found->second ? 1 : 0;
  } catch (...) {
    // Whatever fails leaves the result as it stood.
  }
  return result;
}

}  // namespace qxi
