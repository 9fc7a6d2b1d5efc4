#include "registry/registry_commands.h"

#include <exception>

#include "registry/priorities.h"
#include "registry/reg_key.h"

namespace qxi {
namespace registry_commands {
namespace {

// A temporary holder of the line's root: closing it closes the predefined handle as any other.
RegKey LineRoot(const ParamList& params) { return RegKey(PredefinedKey(params[kRoot])); }

// The line's key, created (with any missing keys above it) or opened.
RegKey CreateLineKey(const ParamList& params) { return LineRoot(params).Create(params[kKey]); }
RegKey OpenLineKey(const ParamList& params) { return LineRoot(params).Open(params[kKey]); }

}  // namespace

void CreateKey(const ParamList& params) { CreateLineKey(params); }

void DeleteKey(const ParamList& params) { LineRoot(params).RemoveSubKey(params[kKey]); }

void DeleteValue(const ParamList& params) { OpenLineKey(params).RemoveValue(params[kValue]); }

void IncValue(const ParamList& params) {
  RegKey key = OpenLineKey(params);
  const std::string& name = params[kValue];
  uint32_t count = 0;
  try {
    count = key.QueryDword(name);
  } catch (const std::exception&) {
    // Missing, or longer than a number: counting starts afresh.
  }
  key.SetDword(name, count + 1);  // unsigned: 0xFFFFFFFF wraps to 0
}

void SetSzValue(const ParamList& params) {
  CreateLineKey(params).SetString(params[kValue], params[kString]);
}

void SetDwValue(const ParamList& params) {
  CreateLineKey(params).SetDword(params[kValue], static_cast<uint32_t>(params[kDword]));
}

void SetBinValue(const ParamList& params) {
  CreateLineKey(params).SetData(params[kValue], params[kBinary], REG_BINARY);
}

void RegisterPriority(const ParamList& params) {
  UpdatePriority(params[kPath], static_cast<uint32_t>(params[kPriority]));
}

}  // namespace registry_commands
}  // namespace qxi
