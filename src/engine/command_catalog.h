// Where the engine finds the commands of its groups and the tests of the Conditions section.
// The rows live in the subsystems; the list of them is kept where the library is put together
// (src/dll), the one place that knows every subsystem, which defines these functions.
#pragma once

#include <string_view>
#include <vector>

#include "engine/command_row.h"

namespace qxi {

/// The rows of group `group` (compared as scripts write names), in table order; none for a
/// name that is no group.
std::vector<const CommandRow*> CommandsOfGroup(std::string_view group);

/// The rows of the seven condition tests, in table order.
std::vector<const ConditionRow*> ConditionTests();

}  // namespace qxi
