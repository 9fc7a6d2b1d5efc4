#include "conditions/condition_tests.h"

#include "engine/qx_err.h"

namespace qxi {
namespace {

constexpr ParamKind P = ParamKind::kPath;
constexpr ParamKind I = ParamKind::kInteger;
constexpr ParamKind R = ParamKind::kRootKey;

ParamList ParamsOf(const ConditionDef& def) {
  ParamList params;
  for (size_t i = 0; i < def.param_count; ++i) params.Add(MakeParam(def.params[i]));
  return params;
}

}  // namespace

const ConditionDef kConditionTable[kConditionTestCount] = {
    {"FileExists", 1, {{P, "File"}}},
    {"FileSize", 2, {{P, "File"}, {I, "Size"}}},
    {"FileLine", 2, {{P, "File"}, {P, "Line"}}},
    {"RegKeyExists", 2, {{R, "Root key"}, {P, "Key"}}},
    {"RegValueExists", 3, {{R, "Root key"}, {P, "Key"}, {P, "Value"}}},
    {"RegValueDw", 4, {{R, "Root key"}, {P, "Key"}, {P, "Value"}, {I, "Data"}}},
    {"RegValueStr", 4, {{R, "Root key"}, {P, "Key"}, {P, "Value"}, {P, "Data"}}},
};

TableConditionTest::TableConditionTest(ConditionMap& conditions, const ConditionDef& def)
    : ConditionTest(conditions, ParamsOf(def)),
      def_(def),
      evaluate_(FindConditionEvaluator(def.name)) {}

bool TableConditionTest::Evaluate() {
  if (evaluate_ == nullptr) throw QXErr(kRunTimeError, kErrorNotSupported);
  return evaluate_(params_);
}

}  // namespace qxi
