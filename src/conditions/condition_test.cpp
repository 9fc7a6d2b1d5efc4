#include "conditions/condition_test.h"

namespace qxi {

ConditionTest::ConditionTest(ConditionMap& conditions, ParamList own_params)
    : conditions_(conditions) {
  params_ = std::move(own_params);
  params_.Insert(0, std::make_unique<StringParam>("Condition name"));
}

void ConditionTest::Execute() {
  bool value = Evaluate();
  conditions_[params_.Text(0)] = value;
}

}  // namespace qxi
