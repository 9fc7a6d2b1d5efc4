#include "conditions/registry_conditions.h"

#include "engine/text_compare.h"
#include "registry/reg_key.h"

namespace qxi {
namespace {

// Runs `examine` on the line's key, opened below a temporary holder of its root; any registry
// failure on the way makes the result false.
template <typename Examine>
bool ExamineKey(const ParamList& params, Examine examine) {
  try {
    RegKey key = RegKey(PredefinedKey(params[reg_test_line::kRoot]))
                     .Open(params[reg_test_line::kKey]);
    return examine(key);
  } catch (const RegKey::Except&) {
    return false;
  }
}

}  // namespace

bool RegKeyExistsTest(const ParamList& params) {
  return ExamineKey(params, [](const RegKey&) { return true; });
}

bool RegValueExistsTest(const ParamList& params) {
  return ExamineKey(params, [&](const RegKey& key) {
    return key.ValueType(params[reg_test_line::kValue]) != 0;
  });
}

bool RegValueDwTest(const ParamList& params) {
  return ExamineKey(params, [&](const RegKey& key) {
    return key.QueryDword(params[reg_test_line::kValue]) ==
           static_cast<uint32_t>(params[reg_test_line::kDword]);
  });
}

bool RegValueStrTest(const ParamList& params) {
  return ExamineKey(params, [&](const RegKey& key) {
    return NamesEqual(key.QueryString(params[reg_test_line::kValue]),
                      params[reg_test_line::kString]);
  });
}

}  // namespace qxi
