// The journal's registry records: keys made and deleted, values set and deleted, each with
// what was there before. The callers look at the registry for them only while journaling.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/journal.h"
#include "registry/reg_key.h"

namespace qxi {

/// The script name of a root (HKCR ... HKDD) for its predefined handle 0x80000000 + n.
const char* RootName(uint32_t root_handle);

/// The levels of `subkey` below `root` that do not exist yet, the shallowest first, each as
/// its whole path below the root: what creating `subkey` will make. Never raises.
std::vector<std::string> MissingKeyLevels(const RegKey& root, const std::string& subkey);

/// KeyMake for each of `levels` (MissingKeyLevels before the key was created).
void JournalKeysMade(const char* root, const std::vector<std::string>& levels);

/// ValueSet of `name` under `root`\`key`: `after` as it is now stored, `before` as it was
/// (nothing: it was not there).
void JournalValueSet(const char* root, const std::string& key, const std::string& name,
                     const std::optional<RegistryValue>& after,
                     const std::optional<RegistryValue>& before);

/// ValueDelete of `name` under `root`\`key`, which held `before`.
void JournalValueDeleted(const char* root, const std::string& key, const std::string& name,
                         const RegistryValue& before);

/// Removes value `name` of the open `key` (`root`\`key_path`), journalled with what it held.
/// Raises RegKey::Except as RemoveValue (nothing is journalled then).
void RemoveValueJournalled(const char* root, const std::string& key_path, const RegKey& key,
                           const std::string& name);

/// The values the registry functions store for a text (with its terminating NUL), a number
/// and bytes of a type.
RegistryValue TextValue(const std::string& text);
RegistryValue DwordValue(uint32_t number);
RegistryValue DataValue(const std::vector<uint8_t>& bytes, uint32_t type);

/// Sets value `name` of the open `key` (`root`\`key_path`) to `value` by `write` (which
/// stores exactly `value`), journalling it with the value it replaces. Raises what `write`
/// raises (nothing is journalled then).
template <typename Write>
void SetValueJournalled(const char* root, const std::string& key_path, const RegKey& key,
                        const std::string& name, const RegistryValue& value, Write write) {
  if (!Journaling()) return write();
  const std::optional<RegistryValue> before = key.QueryValue(name);
  write();
  JournalValueSet(root, key_path, name, value, before);
}

}  // namespace qxi
