// The receiving end of the engine's callbacks in qxirun: keeps the tracker, drives the
// display and appends failures to the log file. System-free, so that a recorded callback
// sequence can drive it in a test.
#pragma once

#include <cstdio>

#include "progress_display.h"
#include "progress_tracker.h"

namespace qxirun {

class RunObserver {
 public:
  /// `display` shows progress and failures; `log_file`, when not null, receives every
  /// failure as "CONTEXT: MESSAGE", one per line, flushed at once. Neither is owned.
  RunObserver(ProgressDisplay& display, std::FILE* log_file)
      : display_(display), log_file_(log_file) {}

  void Log(const char* context, const char* message);
  void SetDialog(const char* text, int number);
  void SetSubDialog(const char* text, int number);
  void Advance(int amount);
  /// One event of the run: counted, and a file's outcome shown.
  void Event(int kind, const char* text, unsigned int number);
  /// The run is over.
  void Finish() { display_.Finish(progress_); }

  const ProgressTracker& progress() const { return progress_; }

 private:
  ProgressTracker progress_;
  ProgressDisplay& display_;
  std::FILE* log_file_;
};

}  // namespace qxirun
