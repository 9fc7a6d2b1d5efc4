// The Conditions section of a script: its test lines run in order into one ConditionMap, so
// that a line's prefix sees exactly the conditions of the lines before it.
#pragma once

#include "engine/condition_map.h"
#include "engine/script_file.h"

namespace qxi {

/// The conditions of `script`'s section "Conditions". Raises QXErr kSectionNotFound when
/// there is none; failures of its lines are reported, not raised.
ConditionMap LoadConditions(const ScriptFile& script);

}  // namespace qxi
