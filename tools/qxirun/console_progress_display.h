// The display for a console: each section keeps one line with its bar, and the current file
// has a second, live line below it; both are redrawn in place on every change. Failure lines,
// and the lines of files left by priority or waiting for the restart, are printed above the
// live lines, which are then drawn again below them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "progress_display.h"

namespace qxirun {

/// Draws on the console screen buffer behind `console` (a handle for which GetConsoleMode
/// succeeds); failures go to `error_out`.
class ConsoleProgressDisplay : public ProgressDisplay {
 public:
  ConsoleProgressDisplay(HANDLE console, std::FILE* error_out)
      : console_(console), error_out_(error_out) {}

  void SectionStarted(const ProgressTracker& progress) override;
  void FileStarted(const ProgressTracker& progress) override { Draw(LiveLines(progress)); }
  /// A file left by priority or waiting for the restart keeps a line above the live ones.
  void FileFinished(const ProgressTracker& progress) override;
  void Advanced(const ProgressTracker& progress) override;
  void ShowError(const std::string& line) override;
  void Finish(const ProgressTracker& progress) override;

 private:
  static std::vector<std::string> LiveLines(const ProgressTracker& progress);
  /// Replaces the live lines with `lines`, blanking any old line left over; the cursor ends
  /// at the end of the last one.
  void Draw(const std::vector<std::string>& lines);
  /// Calls `write`, which prints one line where the live lines stand, then draws them again
  /// below it.
  template <typename WriteLine>
  void WriteAbove(WriteLine write);
  /// Leaves the section line as it stands and starts the live area on the next line.
  void KeepSectionLine();

  HANDLE console_;
  std::FILE* error_out_;
  std::vector<std::string> live_;  // what the live lines show now, the section's first
  std::string last_drawn_;         // the live lines' text at the last draw, to skip redraws
};

}  // namespace qxirun
