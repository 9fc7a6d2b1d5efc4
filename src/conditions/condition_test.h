// ConditionTest: the base of the seven test commands of the Conditions section. A test line
// names its condition first; Execute evaluates the test and stores the result under that
// name. Condition lines never advance the host's progress.
#pragma once

#include "conditions/condition_map.h"
#include "engine/command.h"

namespace qxi {

class ConditionTest : public Command {
 public:
  /// A test with "Condition name" (a plain text) in front of `own_params`, writing into
  /// `conditions`.
  ConditionTest(ConditionMap& conditions, ParamList own_params);

  /// Nothing: condition lines take no progress step.
  void Advance() override {}
  /// Evaluates, then sets the condition named by the line to the result (created if new).
  /// What Evaluate raises leaves the condition untouched.
  void Execute() override;
  /// The test's result for the values of the line last read.
  virtual bool Evaluate() = 0;

 private:
  ConditionMap& conditions_;
};

}  // namespace qxi
