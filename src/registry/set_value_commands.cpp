#include "registry/set_value_commands.h"

#include "registry/line_key.h"

namespace qxi {
namespace {

// Positions in the line: root, key, value, data.
constexpr size_t kRoot = 0;
constexpr size_t kValue = 2;
constexpr size_t kData = 3;

}  // namespace

void SetSzValue(const ParamList& params) {
  CreateLineKey(params, kRoot).SetString(params.Text(kValue), params.Text(kData));
}

void SetDwValue(const ParamList& params) {
  CreateLineKey(params, kRoot)
      .SetDword(params.Text(kValue), static_cast<uint32_t>(params.Integer(kData)));
}

void SetBinValue(const ParamList& params) {
  CreateLineKey(params, kRoot).SetData(params.Text(kValue), params.Bytes(kData), REG_BINARY);
}

}  // namespace qxi
