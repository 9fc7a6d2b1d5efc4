// The four registry tests of the Conditions section.
#include "conditions/condition_commands.h"

#include "engine/text_compare.h"
#include "registry/reg_key.h"

namespace qxi {
namespace condition_commands {
namespace {

// Runs `examine` on the line's key, opened below a temporary holder of its root; any registry
// failure on the way makes the result false.
template <typename Examine>
bool ExamineKey(const ParamList& params, Examine examine) {
  try {
    RegKey key = RegKey(PredefinedKey(params[kRoot])).Open(params[kKey]);
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
  return ExamineKey(params, [&](const RegKey& key) { return key.ValueType(params[kValue]) != 0; });
}

bool RegValueDwTest(const ParamList& params) {
  return ExamineKey(params, [&](const RegKey& key) {
    return key.QueryDword(params[kValue]) == static_cast<uint32_t>(params[kDword]);
  });
}

bool RegValueStrTest(const ParamList& params) {
  return ExamineKey(params, [&](const RegKey& key) {
    return NamesEqual(key.QueryString(params[kValue]), params[kString]);
  });
}

}  // namespace condition_commands
}  // namespace qxi
