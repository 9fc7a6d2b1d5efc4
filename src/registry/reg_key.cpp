#include "registry/reg_key.h"

#include <cstring>

namespace qxi {
namespace {

void ThrowIfError(LONG result) {
  if (result != ERROR_SUCCESS) throw RegKey::Except(result);
}

// Opening with enough access for what the callers do next: value queries, value removal and
// the REG_DWORD write of IncValue.
constexpr REGSAM kOpenAccess = KEY_READ | KEY_SET_VALUE;

RegKey g_roots[7] = {
    RegKey(HKEY_CLASSES_ROOT),     RegKey(HKEY_CURRENT_USER), RegKey(HKEY_LOCAL_MACHINE),
    RegKey(HKEY_USERS),            RegKey(HKEY_PERFORMANCE_DATA),
    RegKey(HKEY_CURRENT_CONFIG),   RegKey(HKEY_DYN_DATA),
};

}  // namespace

HKEY PredefinedKey(uint32_t root_handle) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root_handle)));
}

const RegKey& RootKey(size_t position) { return g_roots[position]; }

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

LONG RegKey::Close() noexcept {
  if (handle_ == nullptr) return 0;
  LONG result = RegCloseKey(handle_);
  handle_ = nullptr;
  return result;
}

RegKey RegKey::Create(const std::string& subkey) const {
  HKEY key = nullptr;
  ThrowIfError(RegCreateKeyExA(handle_, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr));
  return RegKey(key);
}

RegKey RegKey::Open(const std::string& subkey) const {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExA(handle_, subkey.c_str(), 0, kOpenAccess, &key);
  if (result == ERROR_ACCESS_DENIED) {
    result = RegOpenKeyExA(handle_, subkey.c_str(), 0, KEY_READ, &key);
  }
  ThrowIfError(result);
  return RegKey(key);
}

uint32_t RegKey::ValueType(const std::string& name) const noexcept {
  DWORD type = 0;
  if (RegQueryValueExA(handle_, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  return type;
}

std::string RegKey::QueryString(const std::string& name) const {
  DWORD type = 0;
  DWORD size = 0;
  ThrowIfError(RegQueryValueExA(handle_, name.c_str(), nullptr, &type, nullptr, &size));
  if (type != REG_SZ) throw Except(0);
  if (size == 0) return std::string();
  std::vector<char> buffer(size);
  ThrowIfError(RegQueryValueExA(handle_, name.c_str(), nullptr, nullptr,
                                reinterpret_cast<BYTE*>(buffer.data()), &size));
  // The stored terminating NUL is dropped; a value that grew or shrank between the two
  // calls is read as far as the second call says.
  if (size > buffer.size()) size = static_cast<DWORD>(buffer.size());
  return std::string(buffer.data(), size > 0 ? size - 1 : 0);
}

uint32_t RegKey::QueryDword(const std::string& name) const {
  BYTE bytes[4] = {0, 0, 0, 0};  // a shorter value leaves its missing high bytes zero
  DWORD size = sizeof bytes;
  ThrowIfError(RegQueryValueExA(handle_, name.c_str(), nullptr, nullptr, bytes, &size));
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::optional<RegistryValue> RegKey::QueryValue(const std::string& name) const {
  // Most values fit the first buffer and are read in one call; a larger one, or one that
  // grows between the calls, is asked for again with the size the registry answers.
  RegistryValue value;
  DWORD size = 256;
  for (;;) {
    value.bytes.assign(size, '\0');
    DWORD type = REG_NONE;
    const LONG result = RegQueryValueExA(handle_, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value.bytes[0]), &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS || size > value.bytes.size()) return std::nullopt;
    value.type = type;
    value.bytes.resize(size);
    return value;
  }
}

std::vector<std::pair<std::string, RegistryValue>> RegKey::Values() const {
  std::vector<std::pair<std::string, RegistryValue>> values;
  DWORD count = 0;
  DWORD longest_name = 0;
  if (RegQueryInfoKeyA(handle_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                       &longest_name, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return values;
  }
  std::string name(longest_name + 1, '\0');
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueA(handle_, index, &name[0], &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    std::string value_name(name.data(), length);
    if (std::optional<RegistryValue> value = QueryValue(value_name)) {
      values.emplace_back(std::move(value_name), std::move(*value));
    }
  }
  return values;
}

bool RegKey::HasContent() const noexcept {
  DWORD subkeys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyA(handle_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return true;
  }
  return subkeys != 0 || values != 0;
}

void RegKey::RemoveSubKey(const std::string& subkey) const {
  ThrowIfError(RegDeleteKeyA(handle_, subkey.c_str()));
}

void RegKey::RemoveValue(const std::string& name) const {
  ThrowIfError(RegDeleteValueA(handle_, name.c_str()));
}

void RegKey::SetDword(const std::string& name, uint32_t value) const {
  BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                   static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
  ThrowIfError(RegSetValueExA(handle_, name.c_str(), 0, REG_DWORD, bytes, sizeof bytes));
}

void RegKey::SetString(const std::string& name, const std::string& text) const {
  ThrowIfError(RegSetValueExA(handle_, name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)));
}

void RegKey::SetData(const std::string& name, const std::vector<uint8_t>& bytes,
                     uint32_t type) const {
  static const BYTE kNoBytes[1] = {0};
  const BYTE* data = bytes.empty() ? kNoBytes : bytes.data();
  ThrowIfError(RegSetValueExA(handle_, name.c_str(), 0, type, data,
                              static_cast<DWORD>(bytes.size())));
}

}  // namespace qxi
