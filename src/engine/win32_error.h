// Win32Error: the common base of the wrappers' exceptions (File::Except, RegKey::Except and
// the archive reader's). It carries a Win32 code and gives the system's text for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

namespace qxi {

/// FormatMessageA flags of the wrappers' texts: from the system, lines of at most 250
/// characters (the buffer is allocated by the system text seam).
constexpr unsigned kMessageFlagsForWin32Errors = 0x11FA;

class Win32Error : public std::exception {
 public:
  explicit Win32Error(uint32_t code) noexcept : code_(code) {}

  uint32_t raw_code() const { return code_; }

  /// The system's text for the code, formatted afresh on every call into the object's own
  /// storage; the empty text when the system has none. Never allocates, never null.
  const char* what() const noexcept override;

 private:
  static constexpr size_t kTextSize = 1024;

  uint32_t code_;
  mutable char text_[kTextSize] = {};
};

}  // namespace qxi
