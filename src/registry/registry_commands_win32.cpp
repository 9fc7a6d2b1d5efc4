#include "registry/registry_commands.h"

#include <exception>

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "registry/priorities.h"
#include "registry/reg_key.h"
#include "registry/registry_journal.h"
#include "registry/shared_file_claims.h"

namespace qxi {
namespace registry_commands {
namespace {

// A temporary holder of the line's root: closing it closes the predefined handle as any other.
RegKey LineRoot(const ParamList& params) { return RegKey(PredefinedKey(params[kRoot])); }

const char* LineRootName(const ParamList& params) { return RootName(params[kRoot]); }

// The line's key, created (with any missing keys above it, each journalled) or opened.
RegKey CreateLineKey(const ParamList& params) {
  const RegKey root = LineRoot(params);
  if (!Journaling()) return root.Create(params[kKey]);
  const std::vector<std::string> made = MissingKeyLevels(root, params[kKey]);
  RegKey key = root.Create(params[kKey]);
  JournalKeysMade(LineRootName(params), made);
  return key;
}

RegKey OpenLineKey(const ParamList& params) { return LineRoot(params).Open(params[kKey]); }

// The line's key when it exists; nothing when it does not.
std::optional<RegKey> OpenExistingLineKey(const ParamList& params) {
  try {
    return OpenLineKey(params);
  } catch (const RegKey::Except& e) {
    if (e.code() == ERROR_FILE_NOT_FOUND) return std::nullopt;
    throw;
  }
}

// Sets the line's value to `value` by `write` on `key`, journalled with what it replaces.
template <typename Write>
void SetLineValue(const ParamList& params, const RegKey& key, const RegistryValue& value,
                  Write write) {
  SetValueJournalled(LineRootName(params), params[kKey], key, params[kValue], value, write);
}

// Removes the line's value from `key`, journalled with what it held.
void RemoveLineValue(const ParamList& params, const RegKey& key) {
  RemoveValueJournalled(LineRootName(params), params[kKey], key, params[kValue]);
}

// Deletes the line's key; journalled as its values deleted, then the key. The values are read
// first only for the journal.
void RemoveLineKey(const ParamList& params) {
  std::vector<std::pair<std::string, RegistryValue>> values;
  if (Journaling()) {
    try {
      values = OpenLineKey(params).Values();
    } catch (const RegKey::Except&) {
      // The deletion below reports why the key cannot be had.
    }
  }
  LineRoot(params).RemoveSubKey(params[kKey]);
  for (const auto& [name, value] : values) {
    JournalValueDeleted(LineRootName(params), params[kKey], name, value);
  }
  Journal({journal_kind::kKeyDelete, LineRootName(params), params[kKey]});
}

}  // namespace

void CreateKey(const ParamList& params) { CreateLineKey(params); }

void DeleteKey(const ParamList& params) { RemoveLineKey(params); }

void DeleteValue(const ParamList& params) { RemoveLineValue(params, OpenLineKey(params)); }

void IncValue(const ParamList& params) {
  RegKey key = OpenLineKey(params);
  const std::string& name = params[kValue];
  uint32_t count = 0;
  try {
    count = key.QueryDword(name);
  } catch (const std::exception&) {
    // Missing, or longer than a number: counting starts afresh.
  }
  const uint32_t next = count + 1;  // unsigned: 0xFFFFFFFF wraps to 0
  SetLineValue(params, key, DwordValue(next), [&] { key.SetDword(name, next); });
}

void SetSzValue(const ParamList& params) {
  RegKey key = CreateLineKey(params);
  SetLineValue(params, key, TextValue(params[kString]),
               [&] { key.SetString(params[kValue], params[kString]); });
}

void SetDwValue(const ParamList& params) {
  RegKey key = CreateLineKey(params);
  const uint32_t number = static_cast<uint32_t>(params[kDword]);
  SetLineValue(params, key, DwordValue(number), [&] { key.SetDword(params[kValue], number); });
}

void SetBinValue(const ParamList& params) {
  RegKey key = CreateLineKey(params);
  SetLineValue(params, key, DataValue(params[kBinary], REG_BINARY),
               [&] { key.SetData(params[kValue], params[kBinary], REG_BINARY); });
}

void RegisterPriority(const ParamList& params) {
  UpdatePriority(params[kPath], static_cast<uint32_t>(params[kPriority]));
}

void RemoveValueQuietly(const ParamList& params) {
  std::optional<RegKey> key = OpenExistingLineKey(params);
  if (!key) return;  // gone already, with its key
  try {
    RemoveLineValue(params, *key);
  } catch (const RegKey::Except& e) {
    if (e.code() != ERROR_FILE_NOT_FOUND) throw;
  }
}

void RemoveEmptyKey(const ParamList& params) {
  std::optional<RegKey> key = OpenExistingLineKey(params);
  if (!key || key->HasContent()) return;
  key->Close();
  RemoveLineKey(params);
}

void RestorePriority(const ParamList& params) {
  ReleasePriorityClaim(params[kPath], static_cast<uint32_t>(params[kPriority]),
                       static_cast<uint32_t>(params[kPreviousPriority]), /*made=*/false);
}

}  // namespace registry_commands
}  // namespace qxi
