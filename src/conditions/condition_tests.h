// The seven condition tests as data: each test's word and parameters after the condition
// name, and the platform's evaluator that computes its result.
#pragma once

#include <memory>
#include <string_view>

#include "conditions/condition_test.h"
#include "engine/command_table.h"

namespace qxi {

/// Computes a test's result from its line's values (parameter 0 is the condition name).
using ConditionEvaluator = bool (*)(const ParamList& params);

struct ConditionDef {
  const char* name;
  size_t param_count;
  ParamDef params[4];
};

/// "FileExists", "FileSize", "FileLine", "RegKeyExists", "RegValueExists", "RegValueDw",
/// "RegValueStr", in this order.
constexpr size_t kConditionTestCount = 7;
extern const ConditionDef kConditionTable[kConditionTestCount];

/// The platform's evaluator of test `name`; null when this build has none.
ConditionEvaluator FindConditionEvaluator(std::string_view name);

/// A test built from its table entry.
class TableConditionTest final : public ConditionTest {
 public:
  TableConditionTest(ConditionMap& conditions, const ConditionDef& def);
  std::string Name() const override { return def_.name; }
  /// The evaluator's result; raises QXErr kRunTimeError with ERROR_NOT_SUPPORTED when this
  /// build has no evaluator.
  bool Evaluate() override;

 private:
  const ConditionDef& def_;
  ConditionEvaluator evaluate_;
};

}  // namespace qxi
