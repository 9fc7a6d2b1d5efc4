// Turning a caught exception into the one log line the walkers send. Lines are composed in
// fixed storage, so that reporting never allocates: a failed allocation is reported as
// reliably as any other failure.
#pragma once

#include <cstdint>
#include <exception>
#include <string_view>

#include "engine/qx_err.h"
#include "engine/text_builder.h"

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

/// A log line built from pieces as TextBuilder takes them; text beyond its capacity is cut.
class LogLine {
 public:
  LogLine() : builder_(text_, kCapacity) {}
  LogLine(const LogLine&) = delete;
  LogLine& operator=(const LogLine&) = delete;

  template <typename Piece>
  LogLine& operator<<(const Piece& piece) {
    builder_ << piece;
    return *this;
  }
  /// Sends the line as a report of the run as a whole (the walkers' mode passes it to
  /// SendLog in a run).
  void Send() const;
  /// Sends the line as a report about the current line of `where`.
  void Send(const SectionReader& where) const;
  const char* c_str() const { return text_; }

 private:
  static constexpr size_t kCapacity = 4096;
  char text_[kCapacity];
  TextBuilder builder_;  // after the storage it builds into
};

}  // namespace qxi
