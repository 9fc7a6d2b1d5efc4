#include "registry/registry_journal.h"

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/params.h"

namespace qxi {
namespace {

// The type and data fields of a value; "absent" and empty data for one that was not there.
void ValueFields(const std::optional<RegistryValue>& value, std::string& type,
                 std::string& data) {
  if (!value) {
    type = kBeforeAbsent;
    data.clear();
    return;
  }
  RegistryValueFields(value->type, value->bytes, type, data);
}

bool KeyExists(const RegKey& root, const std::string& subkey) {
  try {
    root.Open(subkey);
    return true;
  } catch (const RegKey::Except&) {
    return false;
  }
}

}  // namespace

const char* RootName(uint32_t root_handle) {
  const uint32_t position = root_handle - 0x80000000u;
  return position < std::size(kRootKeyNames) ? kRootKeyNames[position] : "";
}

std::vector<std::string> MissingKeyLevels(const RegKey& root, const std::string& subkey) {
  std::vector<std::string> missing;
  if (subkey.empty() || KeyExists(root, subkey)) return missing;
  // Every level from the first missing one down is made; the levels above it exist.
  for (size_t end = subkey.find('\\'); ; end = subkey.find('\\', end + 1)) {
    const std::string level = subkey.substr(0, end);
    if (!level.empty() && (!missing.empty() || !KeyExists(root, level))) {
      missing.push_back(level);
    }
    if (end == std::string::npos) break;
  }
  return missing;
}

RegistryValue TextValue(const std::string& text) {
  return RegistryValue{REG_SZ, std::string(text.c_str(), text.size() + 1)};
}

RegistryValue DwordValue(uint32_t number) {
  const char bytes[4] = {static_cast<char>(number), static_cast<char>(number >> 8),
                         static_cast<char>(number >> 16), static_cast<char>(number >> 24)};
  return RegistryValue{REG_DWORD, std::string(bytes, 4)};
}

RegistryValue DataValue(const std::vector<uint8_t>& bytes, uint32_t type) {
  return RegistryValue{type, std::string(bytes.begin(), bytes.end())};
}

void JournalKeysMade(const char* root, const std::vector<std::string>& levels) {
  for (const std::string& level : levels) Journal({journal_kind::kKeyMake, root, level});
}

void JournalValueSet(const char* root, const std::string& key, const std::string& name,
                     const std::optional<RegistryValue>& after,
                     const std::optional<RegistryValue>& before) {
  std::string type, data, before_type, before_data;
  ValueFields(after, type, data);
  ValueFields(before, before_type, before_data);
  Journal({journal_kind::kValueSet, root, key, name, type, data, before_type, before_data});
}

void JournalValueDeleted(const char* root, const std::string& key, const std::string& name,
                         const RegistryValue& before) {
  std::string type, data;
  RegistryValueFields(before.type, before.bytes, type, data);
  Journal({journal_kind::kValueDelete, root, key, name, type, data});
}

void RemoveValueJournalled(const char* root, const std::string& key_path, const RegKey& key,
                           const std::string& name) {
  std::optional<RegistryValue> before;
  if (Journaling()) before = key.QueryValue(name);
  key.RemoveValue(name);
  if (before) JournalValueDeleted(root, key_path, name, *before);
}

}  // namespace qxi
