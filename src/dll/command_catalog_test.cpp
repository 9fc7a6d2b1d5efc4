// The rows of every command and condition test: the documented command set, each parameter at
// the position its named index gives (so that every action reads each parameter as the kind
// its row declares), and in the Windows build an action for every row.
#include "engine/command_catalog.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/master_runner.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

std::vector<const CommandRow*> AllCommands() {
  std::vector<const CommandRow*> rows;
  for (const char* group : kGroupNames) {
    for (const CommandRow* row : CommandsOfGroup(group)) rows.push_back(row);
  }
  return rows;
}

// The positions of a row's parameters, where they are not where their names say; empty when
// every one is.
std::string Misplaced(const ParamDef (&params)[kMaxParams]) {
  std::string misplaced;
  for (size_t i = 0; i < ParamCount(params); ++i) {
    if (params[i].position != i) misplaced += " " + std::to_string(i);
  }
  return misplaced;
}

TEST(CommandTable, HoldsTheFiveGroupsAndThirtyCommands) {
  const std::vector<const CommandRow*> rows = AllCommands();
  EXPECT_EQ(rows.size(), 30u);
  std::map<std::string, int> per_group;
  for (const CommandRow* row : rows) ++per_group[row->group];
  EXPECT_EQ(per_group, (std::map<std::string, int>{
                           {"FileCopy", 2}, {"FileOps", 7}, {"INI", 6}, {"Misc", 7}, {"Reg", 8}}));
  // Names are unique within a group; DeleteKey exists in two groups with other parameters.
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t j = i + 1; j < rows.size(); ++j) {
      EXPECT_FALSE(NamesEqual(rows[i]->group, rows[j]->group) &&
                   NamesEqual(rows[i]->name, rows[j]->name))
          << rows[i]->name;
    }
  }
}

TEST(CommandTable, EveryParameterStandsWhereItsNamedIndexSays) {
  for (const CommandRow* row : AllCommands()) {
    EXPECT_EQ(Misplaced(row->params), "") << row->group << " " << row->name;
  }
  const std::vector<const ConditionRow*> tests = ConditionTests();
  EXPECT_EQ(tests.size(), 7u);
  for (const ConditionRow* row : tests) {
    EXPECT_EQ(Misplaced(row->params), "") << row->name;
    EXPECT_EQ(row->params[0].kind, ParamKind::kString) << row->name;
    EXPECT_STREQ(row->params[0].display_name, "Condition name") << row->name;
  }
}

#ifdef _WIN32
// Every command of the table has an action in the Windows build: none is left to the fallback
// that reports ERROR_NOT_SUPPORTED.
TEST(CommandTable, EveryCommandOfTheTableHasAnAction) {
  for (const CommandRow* row : AllCommands()) {
    EXPECT_NE(row->action, nullptr) << row->group << " " << row->name;
  }
  for (const ConditionRow* row : ConditionTests()) EXPECT_NE(row->evaluate, nullptr) << row->name;
  // Groups are looked up as scripts write them, and a command only within its own group.
  EXPECT_EQ(CommandsOfGroup("reg"), CommandsOfGroup("Reg"));
  std::map<std::string, CommandAction> delete_key;
  for (const char* group : {"Reg", "INI"}) {
    for (const CommandRow* row : CommandsOfGroup(group)) {
      if (NamesEqual(row->name, "DeleteKey")) delete_key[group] = row->action;
      EXPECT_FALSE(NamesEqual(group, "Reg") && NamesEqual(row->name, "MakeDir"));
    }
  }
  EXPECT_NE(delete_key["Reg"], delete_key["INI"]);
}
#endif

}  // namespace
}  // namespace qxi
