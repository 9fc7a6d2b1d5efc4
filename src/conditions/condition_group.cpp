#include "conditions/condition_group.h"

#include "conditions/condition_tests.h"

namespace qxi {
namespace {

std::vector<std::unique_ptr<Command>> MakeTests(ConditionMap& conditions) {
  std::vector<std::unique_ptr<Command>> tests;
  for (const auto& def : kConditionTable) {
    tests.push_back(std::make_unique<TableConditionTest>(conditions, def));
  }
  return tests;
}

}  // namespace

ConditionGroup::ConditionGroup(ConditionMap& conditions)
    : CommandGroup(std::string(), MakeTests(conditions)) {}

ScriptCursor ConditionGroup::BeginSection() {
  ScriptCursor cursor = SkipBlanks(begin());
  // A first line that is blank or a comment is passed (and counted) as NextLine passes lines.
  if (!AtEnd(cursor) && AtLineEnd(cursor)) cursor = NextLine(cursor);
  return cursor;
}

}  // namespace qxi
