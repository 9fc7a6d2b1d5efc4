// What a run has done so far, as the engine's progress callbacks tell it: the current command
// section and its step count, the current file and its byte count, and the totals for the
// closing summary. Knows nothing of screens or windows, so every host can share it.
#pragma once

#include <string>

namespace qxirun {

/// Totals of one run, for the closing summary.
struct RunCounts {
  int sections = 0;            ///< command sections started (dialog callbacks)
  long long lines = 0;         ///< per-line advances: command lines stepped over
  int errors = 0;              ///< log callbacks
  long long bytes_copied = 0;  ///< byte advances made while a file was in progress
};

/// Follows the callbacks of one run. A file is in progress from its sub-dialog call until
/// its bytes reach its size, the next file or the next section; advances while a file is in
/// progress are bytes of that file, all others are line steps. Every advance counts towards
/// the section's bar, whatever its kind.
class ProgressTracker {
 public:
  /// A command section starts: its header text and number (the section's total).
  void BeginSection(const char* text, int total);
  /// A file starts: its name and its size in bytes, read as an unsigned 32-bit number.
  void BeginFile(const char* name, int size);
  /// The engine advanced by `amount`: bytes of the current file, or one line step.
  void Advance(int amount);
  /// The engine logged a failure.
  void CountError() { ++counts_.errors; }

  const std::string& section_text() const { return section_text_; }
  long long section_total() const { return section_total_; }
  long long section_done() const { return section_done_; }
  /// True from the first section on.
  bool in_section() const { return in_section_; }

  /// True while a file has been announced in the current section.
  bool has_file() const { return has_file_; }
  const std::string& file_name() const { return file_name_; }
  long long file_size() const { return file_size_; }
  long long file_done() const { return file_done_; }

  const RunCounts& counts() const { return counts_; }

 private:
  bool FileInProgress() const { return has_file_ && file_done_ < file_size_; }

  std::string section_text_;
  long long section_total_ = 0;
  long long section_done_ = 0;
  bool in_section_ = false;
  std::string file_name_;
  long long file_size_ = 0;
  long long file_done_ = 0;
  bool has_file_ = false;
  RunCounts counts_;
};

}  // namespace qxirun
