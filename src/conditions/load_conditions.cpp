// Evaluating a script's Conditions section: its test lines run in order into one map, so a
// line's prefix sees exactly the conditions of the lines before it.
#include "conditions/condition_group.h"
#include "engine/script_file.h"

namespace qxi {

ConditionMap ScriptFile::LoadConditions() const {
  const char* start = FindSection("Conditions");
  ConditionMap conditions;
  ConditionGroup group(conditions);
  group.SetUp(start, text_end(), "Conditions");
  group.RunSection(conditions);
  return conditions;
}

}  // namespace qxi
