#include "registry/registry_tests.h"

#include "engine/text_compare.h"
#include "registry/line_key.h"

namespace qxi {
namespace {

// Positions in a registry test's line: condition name, root, key (after the root), value,
// data.
constexpr size_t kRoot = 1;
constexpr size_t kValue = 3;
constexpr size_t kData = 4;

// Runs `examine` on the opened key; any registry failure on the way makes the result false.
template <typename Examine>
bool ExamineKey(const ParamList& params, Examine examine) {
  try {
    RegKey key = OpenLineKey(params, kRoot);
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
  return ExamineKey(params,
                    [&](const RegKey& key) { return key.ValueType(params.Text(kValue)) != 0; });
}

bool RegValueDwTest(const ParamList& params) {
  return ExamineKey(params, [&](const RegKey& key) {
    return key.QueryDword(params.Text(kValue)) == static_cast<uint32_t>(params.Integer(kData));
  });
}

bool RegValueStrTest(const ParamList& params) {
  return ExamineKey(params, [&](const RegKey& key) {
    return NamesEqual(key.QueryString(params.Text(kValue)), params.Text(kData));
  });
}

}  // namespace qxi
