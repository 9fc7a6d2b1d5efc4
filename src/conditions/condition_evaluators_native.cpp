// The native build touches no system: its condition tests have no evaluator and fail as not
// implemented, which leaves their conditions undefined.
#include "conditions/condition_tests.h"

namespace qxi {

ConditionEvaluator FindConditionEvaluator(std::string_view) { return nullptr; }

}  // namespace qxi
