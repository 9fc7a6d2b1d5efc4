#include "registry/registry_tests.h"

#include "engine/text_compare.h"
#include "registry/reg_key.h"

namespace qxi {
namespace {

// Positions in a registry test's line: condition name, root, key, value, data.
constexpr size_t kRoot = 1;
constexpr size_t kKey = 2;
constexpr size_t kValue = 3;
constexpr size_t kData = 4;

// Opens the line's key under its root; the temporary root holder is closed on return.
RegKey OpenLineKey(const ParamList& params) {
  RegKey root(PredefinedKey(0x80000000u + static_cast<uint32_t>(params.Enum(kRoot))));
  return root.Open(params.Text(kKey));
}

// Runs `examine` on the opened key; any registry failure on the way makes the result false.
template <typename Examine>
bool ExamineKey(const ParamList& params, Examine examine) {
  try {
    RegKey key = OpenLineKey(params);
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
