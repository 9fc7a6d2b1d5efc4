// Where qxirun shows progress and logged failures. The plain display writes one line per
// section and per file (for files, pipes and quiet runs); the console display redraws bars
// in place (console_progress_display.h).
#pragma once

#include <cstdio>
#include <string>

#include "progress_tracker.h"

namespace qxirun {

/// Receives the tracker after each change, and the failure lines to show.
class ProgressDisplay {
 public:
  virtual ~ProgressDisplay() = default;
  virtual void SectionStarted(const ProgressTracker& progress) = 0;
  virtual void FileStarted(const ProgressTracker& progress) = 0;
  /// The file last announced is done: written, left by priority or waiting for the restart.
  virtual void FileFinished(const ProgressTracker& progress) = 0;
  virtual void Advanced(const ProgressTracker& progress) = 0;
  /// Shows one failure line (given without its line end).
  virtual void ShowError(const std::string& line) = 0;
  /// The run is over: leaves the last state visible and the output at the start of a line.
  virtual void Finish(const ProgressTracker& progress) = 0;
};

/// One line per section start and per file on `progress_out` (nothing when it is null, for
/// quiet runs), failure lines on `error_out`; no control characters. A file's line waits for
/// the file's outcome, and is printed without one when anything else comes first.
class PlainProgressDisplay : public ProgressDisplay {
 public:
  PlainProgressDisplay(std::FILE* progress_out, std::FILE* error_out)
      : progress_out_(progress_out), error_out_(error_out) {}

  void SectionStarted(const ProgressTracker& progress) override;
  void FileStarted(const ProgressTracker& progress) override;
  void FileFinished(const ProgressTracker& progress) override;
  void Advanced(const ProgressTracker&) override {}
  void ShowError(const std::string& line) override;
  void Finish(const ProgressTracker&) override { PrintPendingFile(); }

 private:
  void Print(const std::string& line);
  void PrintPendingFile();

  std::FILE* progress_out_;
  std::FILE* error_out_;
  std::string pending_file_;  // the line of a file whose outcome has not come yet
};

}  // namespace qxirun
