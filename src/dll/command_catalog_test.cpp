// The rows of every command and condition test: the documented command set, each parameter at
// the position its named index gives (so that every action reads each parameter as the kind
// its row declares), and in the Windows build an action for every row.
#include "engine/command_row.h"

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

// The places of a row whose parameter stands elsewhere than its named index says.
std::string Misplaced(const ParamDef (&params)[kMaxParams]) {
  std::string misplaced;
  for (size_t i = 0; i < ParamCount(params); ++i) {
    if (params[i].position != i) misplaced += " " + std::to_string(i);
  }
  return misplaced;
}

TEST(CommandTable, HoldsTheFiveGroupsAndFortyCommands) {
  const std::vector<const CommandRow*> rows = AllCommands();
  EXPECT_EQ(rows.size(), 40u);
  std::map<std::string, std::string> per_group;
  for (const CommandRow* row : rows) per_group[row->group] += std::string(" ") + row->name;
  EXPECT_EQ(per_group,
            (std::map<std::string, std::string>{
                {"FileCopy", " CopyFile ExtractQXZ"},
                {"FileOps", " MakeDir DelFile DelDir CreateFile RenameFile MoveFile RemoveFile"
                            " RemoveSharedFile RemoveEmptyDir MoveFileBack CreateShortcut"},
                {"INI", " CreateSection DeleteSection DeleteKey AppendLine SetKey AppendKey"
                        " RemoveLine RemoveEmptySection RemoveEmptyIniFile"},
                {"Misc", " NOP Include Reboot RunApp Shutdown MessageBox Logoff"},
                {"Reg", " CreateKey DeleteKey DeleteValue IncValue SetSzValue SetDwValue"
                        " SetBinValue RegisterPriority RemoveValue RemoveEmptyKey RestorePriority"}}));
  // Names are unique within a group; DeleteKey exists in two groups with other parameters.
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t j = i + 1; j < rows.size(); ++j) {
      EXPECT_FALSE(NamesEqual(rows[i]->group, rows[j]->group) &&
                   NamesEqual(rows[i]->name, rows[j]->name))
          << rows[i]->name;
    }
  }
  // Groups are found as scripts write them, a command only within its own group.
  EXPECT_EQ(CommandsOfGroup("reg"), CommandsOfGroup("Reg"));
  std::map<std::string, const CommandRow*> delete_key;
  for (const char* group : {"Reg", "INI"}) {
    for (const CommandRow* row : CommandsOfGroup(group)) {
      if (NamesEqual(row->name, "DeleteKey")) delete_key[group] = row;
      EXPECT_FALSE(NamesEqual(group, "Reg") && NamesEqual(row->name, "MakeDir"));
    }
  }
  ASSERT_EQ(delete_key.size(), 2u);
  EXPECT_EQ(ParamCount(delete_key["Reg"]->params), 2u);
  EXPECT_EQ(ParamCount(delete_key["INI"]->params), 3u);
}

TEST(CommandTable, EveryParameterStandsWhereItsNamedIndexSays) {
  for (const CommandRow* row : AllCommands()) {
    EXPECT_EQ(Misplaced(row->params), "") << row->group << " " << row->name;
#ifdef _WIN32
    EXPECT_NE(row->action, nullptr) << row->name;  // none falls back to "not supported"
#endif
  }
  ASSERT_EQ(ConditionTests().size(), 7u);
  for (const ConditionRow* row : ConditionTests()) {
    EXPECT_EQ(Misplaced(row->params), "") << row->name;
    EXPECT_EQ(row->params[0].kind, ParamKind::kString) << row->name;
    EXPECT_STREQ(row->params[0].display_name, "Condition name") << row->name;
#ifdef _WIN32
    EXPECT_NE(row->evaluate, nullptr) << row->name;
#endif
  }
}

}  // namespace
}  // namespace qxi
