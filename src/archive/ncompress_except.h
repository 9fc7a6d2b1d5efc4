// NCompress::Except, the error of the archive reader: a 32-bit code whose text is built when
// asked for.
#pragma once

#include <cstdint>
#include <exception>

namespace qxi {
namespace NCompress {

/// The code for an entry that is not a well-formed QXZ entry (application-defined bit 29
/// together with 9, the string-table id of its text).
constexpr uint32_t kInvalidFormat = 0x20000009;

/// The Win32 code for data that ends too early ("file corrupt"); raised by sources that have
/// no error kind of their own for a short read.
constexpr uint32_t kErrorFileCorrupt = 1392;

class Except : public std::exception {
 public:
  explicit Except(uint32_t code) noexcept : code_(code) {}
  /// Copies the code; the copy composes its own text.
  Except(const Except& other) noexcept : Except(other.code_) {}
  Except& operator=(const Except& other) noexcept;

  uint32_t code() const { return code_; }

  /// "Invalid QXZ file format" (the string table's text) for kInvalidFormat; the system's
  /// text for any other code, or "Error code N" when the system has none. Never allocates,
  /// never raises, never returns null.
  const char* what() const noexcept override;

 private:
  static constexpr int kTextSize = 512;

  uint32_t code_;
  mutable char text_[kTextSize] = {};
};

}  // namespace NCompress
}  // namespace qxi
