// ConditionMap: the named booleans of one script run, names compared as all script names are.
#pragma once

#include <map>
#include <string>

#include "engine/text_compare.h"

namespace qxi {

using ConditionMap = std::map<std::string, bool, NameLessOp>;

}  // namespace qxi
