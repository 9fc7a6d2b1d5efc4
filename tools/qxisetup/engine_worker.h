// Runs the script on a thread of its own, so that the window stays responsive while the engine
// works, waits for a program or shows a message box. Each engine callback becomes a message
// posted to the window (setup_messages.h), in the order the engine made the calls.
#pragma once

#include <windows.h>

#include <string>

#include "engine/unique_handle.h"
#include "engine_library.h"
#include "run_observer.h"

namespace qxisetup {

class EngineWorker {
 public:
  /// Waits for the thread, if it was started.
  ~EngineWorker() { Join(); }

  /// Registers the callbacks with `engine`, aimed at `window`, and starts ProcessQXS(script,
  /// section) on a new thread; kMsgDone is posted when it returns. Returns false (nothing
  /// started) when the thread cannot be created. Only one worker may run at a time: the
  /// engine's callbacks are process-wide. `observer`, when not null, sees every callback on
  /// the engine's thread before the window is told (a log file of the run); it must outlive
  /// the thread.
  bool Start(const qxirun::EngineLibrary& engine, HWND window, const std::string& script,
             const std::string& section, qxirun::RunObserver* observer = nullptr);

  /// Waits until the thread has ended.
  void Join();

 private:
  static DWORD WINAPI ThreadMain(void* self);

  QxiProcessQXS process_ = nullptr;
  std::string script_;
  std::string section_;
  qxi::UniqueKernelHandle thread_;
};

}  // namespace qxisetup
