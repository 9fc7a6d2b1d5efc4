#include "engine/conditions_section.h"

#include "engine/command_group.h"
#include "engine/command_row.h"
#include "engine/qx_err.h"

namespace qxi {
namespace {

// One test of the Conditions section: Execute evaluates the test and stores the result under
// the condition name of its line. Condition lines never advance the host's progress.
class ConditionTest final : public Command {
 public:
  ConditionTest(ConditionMap& conditions, const ConditionRow& row)
      : conditions_(conditions), row_(row) {
    params_ = ParamsOf(row.params);
  }

  std::string Name() const override { return row_.name; }
  void Advance() override {}
  // Sets the line's condition (created if new) to the result, untouched when the evaluator
  // raises; ERROR_NOT_SUPPORTED where this build has no evaluator.
  void Execute() override {
    if (row_.evaluate == nullptr) throw QXErr(kRunTimeError, kErrorNotSupported);
    const bool value = row_.evaluate(params_);
    conditions_[params_[kConditionName]] = value;
  }

 private:
  ConditionMap& conditions_;
  const ConditionRow& row_;
};

std::vector<std::unique_ptr<Command>> MakeTests(ConditionMap& conditions) {
  std::vector<std::unique_ptr<Command>> tests;
  for (const ConditionRow* row : ConditionTests()) {
    tests.push_back(std::make_unique<ConditionTest>(conditions, *row));
  }
  return tests;
}

// The walker of a Conditions section, with the seven tests as its only commands, all writing
// into one map. The section has no header line.
class ConditionGroup final : public CommandGroup {
 public:
  explicit ConditionGroup(ConditionMap& conditions)
      : CommandGroup(std::string(), MakeTests(conditions)) {}

  // Test lines are not command lines: the host hears of them only when they fail.
  void ReportLine(bool) const override {}

  // The first line with content: no header line is read and the host's dialog is not called.
  ScriptCursor BeginSection() override {
    ScriptCursor cursor = SkipBlanks(begin());
    // A first line that is blank or a comment is passed (and counted) as NextLine passes them.
    if (!AtEnd(cursor) && AtLineEnd(cursor)) cursor = NextLine(cursor);
    return cursor;
  }
};

}  // namespace

ConditionMap LoadConditions(const ScriptFile& script) {
  const char* start = script.FindSection("Conditions");
  ConditionMap conditions;
  ConditionGroup group(conditions);
  group.SetUp(start, script.text_end(), "Conditions");
  group.RunSection(conditions);
  return conditions;
}

}  // namespace qxi
