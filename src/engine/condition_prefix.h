// The optional condition prefix of a line: '@' or '@!' and a condition name.
#pragma once

#include "engine/condition_map.h"
#include "engine/section_reader.h"

namespace qxi {

/// With `cursor` on '@': reads the prefix, moves the cursor past the name and returns
/// whether the line runs. Raises QXErr kUndefinedCondition for a name `conditions` lacks, and
/// kSyntaxError when no name can be read.
bool ReadConditionPrefix(ScriptCursor& cursor, const SectionReader& reader,
                         const ConditionMap& conditions);

}  // namespace qxi
