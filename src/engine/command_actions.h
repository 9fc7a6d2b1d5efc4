// Where commands find what they do. The command table is data and builds on every platform;
// the actions that touch the system exist only in the Windows build, so each build supplies
// FindSystemAction: the Windows one names the subsystems' actions, the native one none (its
// commands then fail as not supported, which is all the fuzzer needs).
#pragma once

#include <string_view>

#include "engine/params.h"

namespace qxi {

/// Carries out one command with the values its parameters hold; raises on failure.
using CommandAction = void (*)(const ParamList& params);

struct ActionEntry {
  const char* group;
  const char* name;
  CommandAction action;
};

/// The action of command `name` of `group`: the engine's own (NOP, Include) or the
/// platform's. Null when this build has none.
CommandAction FindCommandAction(std::string_view group, std::string_view name);

/// The platform's actions (one definition per build).
CommandAction FindSystemAction(std::string_view group, std::string_view name);

/// Looks `group` and `name` up in `entries` (names compared as script names are).
CommandAction FindAction(const ActionEntry* entries, size_t count, std::string_view group,
                         std::string_view name);

}  // namespace qxi
