// QXErr, the engine's error: a string-table code and an optional Win32 error, whose message
// text is composed when asked for.
#pragma once

#include <cstdint>
#include <exception>

namespace qxi {

/// String-table ids of the engine's messages.
enum ErrorCode : int32_t {
  kSyntaxError = 1,
  kOutOfMemory = 2,
  kEnumMismatch = 3,
  kSectionNotFound = 4,
  kUnknownCommand = 5,
  kRunTimeError = 6,
  kNeedDirectory = 7,
  kCrcError = 8,
  kInvalidQxz = 9,
  kUndefinedCondition = 10,
};

/// Win32 error codes the engine raises itself (the portable parts cannot include <windows.h>).
/// A command or test this build cannot carry out: the build for the host system has none of
/// the actions that touch Windows.
constexpr uint32_t kErrorNotSupported = 50;
constexpr uint32_t kErrorStackOverflow = 1001;

class QXErr : public std::exception {
 public:
  explicit QXErr(int32_t code, uint32_t win32_error = 0) noexcept
      : code_(code), win32_error_(win32_error) {}
  /// Copies the code and the Win32 error; the copy composes its own text.
  QXErr(const QXErr& other) noexcept : QXErr(other.code_, other.win32_error_) {}
  QXErr& operator=(const QXErr& other) noexcept;

  int32_t code() const { return code_; }
  void set_code(int32_t code) { code_ = code; }
  uint32_t win32_error() const { return win32_error_; }
  void set_win32_error(uint32_t error) { win32_error_ = error; }

  /// The string-table text of the code, followed by the system's text for the Win32 error in
  /// double quotes (or " code N" when the system has none). "Error message not found" for a
  /// code without text. Composed anew on every call into the object's own bounded storage:
  /// never allocates, never raises, never overflows.
  const char* what() const noexcept override;

  /// Errors compare by code only.
  bool operator==(const QXErr& other) const { return code_ == other.code_; }

 private:
  static constexpr int kTableTextSize = 250;
  static constexpr int kTextSize = 1024;

  int32_t code_;
  uint32_t win32_error_;
  mutable char text_[kTextSize] = {};
};

}  // namespace qxi
