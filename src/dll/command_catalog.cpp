// The list of every subsystem's commands and condition tests: the one place that knows them
// all, from which the engine builds its groups and its Conditions section. A group's
// commands come in the order of the tables below, and each table's in its own order.
#include "engine/command_catalog.h"

#include <iterator>

#include "archive/extract_qxz.h"
#include "conditions/file_conditions.h"
#include "conditions/registry_conditions.h"
#include "desktop/desktop_commands.h"
#include "engine/engine_commands.h"
#include "engine/text_compare.h"
#include "files/file_commands.h"
#include "ini/ini_commands.h"
#include "registry/registry_commands.h"

namespace qxi {
namespace {

template <typename Row>
struct Table {
  const Row* begin;
  const Row* end;
};

template <typename Row, size_t N>
constexpr Table<Row> TableOf(const Row (&rows)[N]) {
  return {std::begin(rows), std::end(rows)};
}

// Bottom up, as the subsystems build on each other: CreateShortcut follows the other FileOps
// commands, ExtractQXZ follows CopyFile.
const Table<CommandRow> kCommandTables[] = {
    TableOf(kEngineCommands), TableOf(kIniCommands),     TableOf(kRegistryCommands),
    TableOf(kFileCommands),   TableOf(kArchiveCommands), TableOf(kDesktopCommands),
};

const Table<ConditionRow> kConditionTables[] = {
    TableOf(kFileConditions),
    TableOf(kRegistryConditions),
};

}  // namespace

std::vector<const CommandRow*> CommandsOfGroup(std::string_view group) {
  std::vector<const CommandRow*> rows;
  for (const auto& table : kCommandTables) {
    for (const CommandRow* row = table.begin; row != table.end; ++row) {
      if (NamesEqual(row->group, group)) rows.push_back(row);
    }
  }
  return rows;
}

std::vector<const ConditionRow*> ConditionTests() {
  std::vector<const ConditionRow*> rows;
  for (const auto& table : kConditionTables) {
    for (const ConditionRow* row = table.begin; row != table.end; ++row) rows.push_back(row);
  }
  return rows;
}

}  // namespace qxi
