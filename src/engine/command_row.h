// A command as data: its row names the group and the command, the kind and display name of
// each parameter, how its progress goes, and the action that carries it out. Each subsystem
// keeps the rows of its commands beside the named positions their actions read; the rows
// build on every platform, the actions only where there is a system to act on. The list of
// all rows is kept where the library is put together (src/dll), the one place that knows
// every subsystem: it defines CommandsOfGroup and ConditionTests.
#pragma once

#include <string_view>
#include <vector>

#include "engine/params.h"

namespace qxi {

/// Carries out one command with the values its parameters hold; raises on failure.
using CommandAction = void (*)(const ParamList& params);

/// Computes a condition test's result from its line's values.
using ConditionEvaluator = bool (*)(const ParamList& params);

/// The action `function` of a row in the Windows build. The native build has no system to act
/// on: its rows carry no action, and their commands fail as not supported.
#ifdef _WIN32
#define QXI_ACTION(function) (&function)
#else
#define QXI_ACTION(function) nullptr
#endif

/// Whether the section walker advances the host's dialog after the command's lines, or the
/// command reports progress itself.
enum class Progress { kPerLine, kOwn };

/// One command of a group.
struct CommandRow {
  const char* group;
  const char* name;
  ParamDef params[kMaxParams];  ///< in line order; unused entries have no display name
  CommandAction action;         ///< null where this build has none
  Progress progress = Progress::kPerLine;
};

/// Every condition line names its condition first: the row of each test begins with it.
inline constexpr StringAt kConditionName{0};

/// One test of the Conditions section.
struct ConditionRow {
  const char* name;
  ParamDef params[kMaxParams];  ///< kConditionName first, then the test's own
  ConditionEvaluator evaluate;  ///< null where this build has none
};

/// The rows of group `group` (compared as scripts write names), in table order; none for a
/// name that is no group.
std::vector<const CommandRow*> CommandsOfGroup(std::string_view group);

/// The rows of the seven condition tests, in table order.
std::vector<const ConditionRow*> ConditionTests();

}  // namespace qxi
