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
  virtual void Advanced(const ProgressTracker& progress) = 0;
  /// Shows one failure line (given without its line end).
  virtual void ShowError(const std::string& line) = 0;
  /// The run is over: leaves the last state visible and the output at the start of a line.
  virtual void Finish(const ProgressTracker& progress) = 0;
};

/// One line per section start and per file on `progress_out` (nothing when it is null, for
/// quiet runs), failure lines on `error_out`; no control characters.
class PlainProgressDisplay : public ProgressDisplay {
 public:
  PlainProgressDisplay(std::FILE* progress_out, std::FILE* error_out)
      : progress_out_(progress_out), error_out_(error_out) {}

  void SectionStarted(const ProgressTracker& progress) override;
  void FileStarted(const ProgressTracker& progress) override;
  void Advanced(const ProgressTracker&) override {}
  void ShowError(const std::string& line) override;
  void Finish(const ProgressTracker&) override {}

 private:
  void Print(const std::string& line);

  std::FILE* progress_out_;
  std::FILE* error_out_;
};

}  // namespace qxirun
