// One script run of the stub: silently on this thread, or in the setup window with the
// engine on a worker thread. Either way every callback reaches the run's observer.
#pragma once

#include <string>

#include "engine_library.h"
#include "run_observer.h"
#include "setup_window.h"

namespace qxistub {

struct ScriptRun {
  std::string script;   ///< its path, from the current folder or full
  std::string section;  ///< the master section
  std::string title;    ///< the window's title
  qxisetup::RunWords words;
  bool silent = false;
};

/// Runs `run` with `engine`; returns when the run is over and, with a window, when the person
/// has closed it. Throws StubError when the window or its thread cannot be made.
void RunScript(const qxirun::EngineLibrary& engine, const ScriptRun& run,
               qxirun::RunObserver& observer);

}  // namespace qxistub
