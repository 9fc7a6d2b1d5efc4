#include "script_run.h"

#include <windows.h>

#include <commctrl.h>

#include "engine_worker.h"
#include "stub_files.h"

namespace qxistub {
namespace {

// The silent run's callbacks reach the observer through this pointer, set for the one call.
qxirun::RunObserver* g_observer = nullptr;

void QXI_CALL OnLog(const char* context, const char* message) { g_observer->Log(context, message); }
void QXI_CALL OnTitle(const char*) {}
void QXI_CALL OnDialog(const char* text, int number) { g_observer->SetDialog(text, number); }
void QXI_CALL OnSubDialog(const char* text, int number) { g_observer->SetSubDialog(text, number); }
void QXI_CALL OnAdvance(int amount) { g_observer->Advance(amount); }
void QXI_CALL OnEvent(int kind, const char* text, unsigned int number) {
  g_observer->Event(kind, text, number);
}

void RunSilently(const qxirun::EngineLibrary& engine, const ScriptRun& run,
                 qxirun::RunObserver& observer) {
  g_observer = &observer;
  engine.register_log(OnLog);
  engine.register_title(OnTitle);
  engine.register_dialog(OnDialog);
  engine.register_sub_dialog(OnSubDialog);
  engine.register_advance(OnAdvance);
  engine.register_event(OnEvent);
  engine.process(run.script.c_str(), run.section.c_str());
  observer.Finish();
  g_observer = nullptr;
}

void RunInWindow(const qxirun::EngineLibrary& engine, const ScriptRun& run,
                 qxirun::RunObserver& observer) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  qxisetup::SetupWindow window;
  if (!window.Create(GetModuleHandleA(nullptr), run.title, false, run.words)) {
    throw StubError(SystemFailure("cannot create the setup window", GetLastError()));
  }
  qxisetup::EngineWorker worker;
  if (!worker.Start(engine, window.handle(), run.script, run.section, &observer)) {
    throw StubError(SystemFailure("cannot start the installation thread", GetLastError()));
  }
  window.RunUntilClosed();
  worker.Join();
  observer.Finish();
}

}  // namespace

void RunScript(const qxirun::EngineLibrary& engine, const ScriptRun& run,
               qxirun::RunObserver& observer) {
  if (run.silent) {
    RunSilently(engine, run, observer);
  } else {
    RunInWindow(engine, run, observer);
  }
}

}  // namespace qxistub
