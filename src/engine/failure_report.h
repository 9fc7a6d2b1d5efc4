// Turning a caught exception into the one log line the walkers send. Lines are composed in
// fixed storage, so that reporting never allocates: a failed allocation is reported as
// reliably as any other failure.
#pragma once

#include <cstdint>
#include <exception>
#include <string_view>

#include "engine/qx_err.h"

namespace qxi {

class SectionReader;

/// The text a caught exception is reported with: its what(), or the text of "Out of memory"
/// when it is a failed allocation of the runtime.
class FailureText {
 public:
  explicit FailureText(const std::exception& e) noexcept;
  FailureText(const FailureText&) = delete;
  FailureText& operator=(const FailureText&) = delete;
  const char* get() const { return text_; }

 private:
  QXErr out_of_memory_{kOutOfMemory};
  const char* text_;
};

/// A log line built from pieces; text beyond its capacity is cut.
class LogLine {
 public:
  LogLine& operator<<(std::string_view text);
  LogLine& operator<<(int32_t number);
  /// Sends the line as a report of the run as a whole (the walkers' mode passes it to
  /// SendLog in a run).
  void Send() const;
  /// Sends the line as a report about the current line of `where`.
  void Send(const SectionReader& where) const;
  const char* c_str() const { return text_; }

 private:
  static constexpr size_t kCapacity = 4096;
  char text_[kCapacity] = {};
  size_t length_ = 0;
};

}  // namespace qxi
