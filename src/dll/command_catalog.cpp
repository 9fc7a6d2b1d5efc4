// The list of every subsystem's commands and condition tests (CommandsOfGroup, ConditionTests):
// the one place that knows them all. The subsystems come bottom up, as they build on each
// other (CreateShortcut follows the other FileOps commands, ExtractQXZ follows CopyFile).
#include "engine/command_row.h"

#include "archive/extract_qxz.h"
#include "conditions/condition_commands.h"
#include "system/system_commands.h"
#include "engine/engine_commands.h"
#include "engine/text_compare.h"
#include "files/file_commands.h"
#include "ini/ini_commands.h"
#include "registry/registry_commands.h"

namespace qxi {

std::vector<const CommandRow*> CommandsOfGroup(std::string_view group) {
  std::vector<const CommandRow*> rows;
  auto add = [&](const auto& table) {
    for (const CommandRow& row : table) {
      if (NamesEqual(row.group, group)) rows.push_back(&row);
    }
  };
  add(engine_commands::kRows);
  add(ini_commands::kRows);
  add(registry_commands::kRows);
  add(file_commands::kRows);
  add(archive_commands::kRows);
  add(system_commands::kRows);
  return rows;
}

std::vector<const ConditionRow*> ConditionTests() {
  std::vector<const ConditionRow*> rows;
  for (const ConditionRow& row : condition_commands::kRows) rows.push_back(&row);
  return rows;
}

}  // namespace qxi
