#include "engine/command_actions.h"

#include "engine/include_command.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

void DoNothing(const ParamList&) {}

const ActionEntry kEngineActions[] = {
    {"Misc", "NOP", DoNothing},
    {"Misc", "Include", IncludeScript},
};

}  // namespace

CommandAction FindAction(const ActionEntry* entries, size_t count, std::string_view group,
                         std::string_view name) {
  for (size_t i = 0; i < count; ++i) {
    if (NamesEqual(entries[i].group, group) && NamesEqual(entries[i].name, name)) {
      return entries[i].action;
    }
  }
  return nullptr;
}

CommandAction FindCommandAction(std::string_view group, std::string_view name) {
  CommandAction action =
      FindAction(kEngineActions, sizeof kEngineActions / sizeof kEngineActions[0], group, name);
  return action != nullptr ? action : FindSystemAction(group, name);
}

}  // namespace qxi
