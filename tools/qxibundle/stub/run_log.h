// The /LOG file of a setup run and what the person sees of failures: every line the engine
// logs, each section and file as qxirun prints them, the message boxes of a silent run, the
// stub's own failures, and the closing summary.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "progress_display.h"
#include "run_observer.h"

namespace qxistub {

class RunLog {
 public:
  /// Appends to `path`; with an empty path nothing is written. `silent`: failures of the stub
  /// itself also go to standard error when there is one, else to a message box.
  RunLog(const std::string& path, bool silent);
  ~RunLog();
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  /// False when a log file was asked for and could not be opened.
  bool ok() const { return path_.empty() || file_ != nullptr; }

  /// One line in the log file, flushed at once.
  void Line(const std::string& line);

  /// A failure of the stub (not of a script line): logged, and told to the person.
  void Failure(const std::string& title, const std::string& text);

  /// Sees the engine's callbacks: counts them and writes sections, files and failures.
  qxirun::RunObserver& observer() { return *observer_; }

 private:
  std::string path_;
  bool silent_;
  std::FILE* file_ = nullptr;
  std::unique_ptr<qxirun::ProgressDisplay> display_;
  std::unique_ptr<qxirun::RunObserver> observer_;
};

}  // namespace qxistub
