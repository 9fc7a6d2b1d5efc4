// RegKey: the owner of one open registry key handle. Every failing registry call becomes a
// RegKey::Except carrying the call's result code. The seven predefined roots live in static
// RegKey objects for the life of the library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/win32_error.h"

namespace qxi {

/// A value as the registry stores it: its type and its bytes.
struct RegistryValue {
  uint32_t type = REG_NONE;
  std::string bytes;
};

class RegKey {
 public:
  /// A failed registry call: its result code (0 for a value of the wrong type), with the
  /// system's text for it as what().
  class Except : public Win32Error {
   public:
    explicit Except(int32_t code) noexcept : Win32Error(static_cast<uint32_t>(code)) {}
    int32_t code() const { return static_cast<int32_t>(raw_code()); }
  };

  /// Holds nothing.
  RegKey() noexcept = default;
  /// Takes ownership of `handle` (a predefined root handle is owned, and closed, as well).
  explicit RegKey(HKEY handle) noexcept : handle_(handle) {}
  ~RegKey() { Close(); }
  RegKey(RegKey&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  RegKey& operator=(RegKey&& other) noexcept;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  HKEY handle() const { return handle_; }

  /// Closes the held handle and returns RegCloseKey's result; 0 when nothing is held.
  LONG Close() noexcept;

  /// Creates `subkey` (with any missing keys above it) or opens it if it exists, with full
  /// access. Raises Except; the receiver is unchanged either way.
  RegKey Create(const std::string& subkey) const;
  /// Opens an existing `subkey` for reading values and for setting and removing values;
  /// where writing is refused (a key of the machine for a normal user) it is opened for
  /// reading only, so a later write fails with its own error. Raises Except (a missing key
  /// gives ERROR_FILE_NOT_FOUND).
  RegKey Open(const std::string& subkey) const;

  /// The stored type of value `name`; 0 for a missing value or any failure. Never raises.
  uint32_t ValueType(const std::string& name) const noexcept;
  /// The text of a REG_SZ value without its terminating NUL. Raises Except with the result
  /// code, or with code 0 when the value is of another type.
  std::string QueryString(const std::string& name) const;
  /// A value of at most 4 bytes of any type, least significant byte first; bytes a shorter
  /// value does not supply are zero. Raises Except (ERROR_MORE_DATA for a longer value).
  uint32_t QueryDword(const std::string& name) const;

  /// Value `name` as stored; nothing when it is missing or cannot be read. Never raises.
  std::optional<RegistryValue> QueryValue(const std::string& name) const;
  /// Every value of the key with its name, in the registry's order; as many as could be read.
  /// Never raises.
  std::vector<std::pair<std::string, RegistryValue>> Values() const;
  /// True when the key holds a subkey or a value (its default value too), or cannot be asked.
  bool HasContent() const noexcept;

  /// Deletes `subkey` with one RegDeleteKeyA call. Raises Except.
  void RemoveSubKey(const std::string& subkey) const;
  /// Deletes value `name`. Raises Except.
  void RemoveValue(const std::string& name) const;
  /// Writes a REG_DWORD value. Raises Except.
  void SetDword(const std::string& name, uint32_t value) const;
  /// Writes a REG_SZ value whose size counts the terminating NUL. Raises Except.
  void SetString(const std::string& name, const std::string& text) const;
  /// Writes `bytes` as a value of `type` (size 0 for no bytes). Raises Except.
  void SetData(const std::string& name, const std::vector<uint8_t>& bytes, uint32_t type) const;

 private:
  HKEY handle_ = nullptr;
};

/// The predefined key handle for 0x80000000 + n (as RootKeyParam::RootHandle gives it),
/// sign-extended as the system defines the predefined handles on 64-bit Windows.
HKEY PredefinedKey(uint32_t root_handle);

/// The static root object for position 0 to 6 (HKCR, HKCU, HKLM, HKU, HKPD, HKCC, HKDD).
const RegKey& RootKey(size_t position);
constexpr size_t kRootCurrentUser = 1;
constexpr size_t kRootLocalMachine = 2;

}  // namespace qxi
