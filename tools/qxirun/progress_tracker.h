// What a run has done so far, as the engine's progress callbacks tell it: the current command
// section and its step count, the current file and its byte count, and the totals for the
// closing summary. Knows nothing of screens or windows, so every host can share it.
#pragma once

#include <string>

namespace qxirun {

/// Totals of one run, for the closing summary. All but `sections` and `errors` come from the
/// engine's run events, never from the progress advances, which cannot tell a skipped line or
/// a file left alone from work done.
struct RunCounts {
  int sections = 0;             ///< command sections started (dialog callbacks)
  long long lines_run = 0;      ///< command lines carried out, also those that then failed
  long long lines_skipped = 0;  ///< command lines skipped by their condition
  int errors = 0;               ///< log callbacks
  long long files_written = 0;  ///< files put in place by CopyFile and ExtractQXZ
  long long files_left = 0;     ///< files left alone because their priority was not higher
  long long files_deferred = 0; ///< files that wait for the restart
  long long bytes_written = 0;  ///< the sizes of the files written, added up
};

/// What became of the file last announced.
enum class FileOutcome { kPending, kWritten, kLeftByPriority, kDeferred };

/// Follows the callbacks of one run. A file is in progress from its sub-dialog call until
/// its bytes reach its size, the next file or the next section; advances while a file is in
/// progress move its bar. Every advance counts towards the section's bar, whatever its kind.
/// The run's events give the counts and the outcome of each file.
class ProgressTracker {
 public:
  /// A command section starts: its header text and number (the section's total).
  void BeginSection(const char* text, int total);
  /// A file starts: its name and its size in bytes, read as an unsigned 32-bit number.
  void BeginFile(const char* name, int size);
  /// The engine advanced by `amount`: bytes of the current file, or one line step.
  void Advance(int amount);
  /// One event of the engine's run (QXI_EVENT_... of qxi.h); kinds it does not know are
  /// ignored. A file event sets the outcome of the file last announced.
  void CountEvent(int kind, unsigned int number);
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
  FileOutcome file_outcome() const { return file_outcome_; }

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
  FileOutcome file_outcome_ = FileOutcome::kPending;
  RunCounts counts_;
};

}  // namespace qxirun
