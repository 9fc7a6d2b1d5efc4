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
  /// An error about the entry named `entry_name` (cut to 259 characters), which what()
  /// names, so that a report says which entry of the archive was refused.
  Except(uint32_t code, const char* entry_name) noexcept;
  /// Copies the code and the entry name; the copy composes its own text.
  Except(const Except& other) noexcept;
  Except& operator=(const Except& other) noexcept;

  uint32_t code() const { return code_; }

  /// "Invalid QXZ file format" (the string table's text) for kInvalidFormat; the system's
  /// text for any other code, or "Error code N" when the system has none. With an entry name
  /// the text is followed by a blank and the name in double quotes. Never allocates, never
  /// raises, never returns null.
  const char* what() const noexcept override;

 private:
  static constexpr int kTextSize = 512;
  static constexpr int kNameSize = 260;

  /// Keeps `name`, cut to kNameSize - 1 characters.
  void CopyName(const char* name) noexcept;

  uint32_t code_;
  char entry_name_[kNameSize] = {};
  mutable char text_[kTextSize] = {};
};

}  // namespace NCompress
}  // namespace qxi
