#include "registry/existing_key_commands.h"

#include <exception>

#include "registry/line_key.h"

namespace qxi {
namespace {

// Positions in the line: root, key, value.
constexpr size_t kRoot = 0;
constexpr size_t kValue = 2;

}  // namespace

void DeleteValue(const ParamList& params) {
  OpenLineKey(params, kRoot).RemoveValue(params.Text(kValue));
}

void IncValue(const ParamList& params) {
  RegKey key = OpenLineKey(params, kRoot);
  const std::string& name = params.Text(kValue);
  uint32_t count = 0;
  try {
    count = key.QueryDword(name);
  } catch (const std::exception&) {
    // Missing, or longer than a number: counting starts afresh.
  }
  key.SetDword(name, count + 1);  // unsigned: 0xFFFFFFFF wraps to 0
}

}  // namespace qxi
