// SystemError: the common base of the wrappers' exceptions (File::Except, RegKey::Except and
// the archive reader's). It carries a Win32 code and gives the system's text for it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace qxi {

/// FormatMessageA flags of the wrappers' texts: from the system, lines of at most 250
/// characters (the buffer is allocated by the system text seam).
constexpr unsigned kMessageFlagsForSystemErrors = 0x11FA;

class SystemError : public std::exception {
 public:
  explicit SystemError(uint32_t code) noexcept : code_(code) {}
  SystemError(const SystemError& other) : std::exception(other), code_(other.code_) {}
  SystemError& operator=(const SystemError& other) {
    code_ = other.code_;
    text_.clear();
    return *this;
  }

  uint32_t raw_code() const { return code_; }

  /// The system's text for the code, formatted afresh on every call (the previous text is
  /// discarded); the empty text when the system has none. Never null.
  const char* what() const noexcept override;

 private:
  uint32_t code_;
  mutable std::string text_;
};

}  // namespace qxi
