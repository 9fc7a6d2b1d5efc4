// The journal of a setup's run, kept in memory while the script runs: a "Run" line naming
// the script and its master section, then each record the engine sends, one a line, as
// qxirun writes its journal files.
#pragma once

#include <string>

#include "engine_library.h"

namespace qxistub {

class RunJournal {
 public:
  /// Starts the text with the run's line and registers the collector with `engine`; the
  /// engine may call it from the thread that runs the script.
  RunJournal(const qxirun::EngineLibrary& engine, const std::string& script,
             const std::string& section);
  /// Unregisters the collector.
  ~RunJournal();
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  /// Unregisters the collector (before the engine is unloaded): later records are not kept.
  void Stop();
  /// The lines so far, each ending in CR LF.
  const std::string& text() const { return text_; }

 private:
  const qxirun::EngineLibrary& engine_;
  std::string text_;
  bool registered_ = false;
};

}  // namespace qxistub
