// The optional condition prefix of a line: '@' or '@!' and a condition name.
#pragma once

#include <string>

#include "engine/condition_map.h"
#include "engine/section_reader.h"

namespace qxi {

/// With `cursor` on '@': reads '@', an optional '!' and the condition name into `name` and
/// `negate`, and returns the cursor past the name. Raises QXErr kSyntaxError when no name can
/// be read.
ScriptCursor ReadPrefixName(ScriptCursor cursor, const SectionReader& reader, std::string& name,
                            bool& negate);

/// With `cursor` on '@': reads the prefix, moves the cursor past the name and returns
/// whether the line runs (as the walkers' mode decides: in a run, the condition's value).
/// Raises QXErr kUndefinedCondition for a name `conditions` lacks, and kSyntaxError when no
/// name can be read.
bool ReadConditionPrefix(ScriptCursor& cursor, const SectionReader& reader,
                         const ConditionMap& conditions);

}  // namespace qxi
