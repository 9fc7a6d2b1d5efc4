// The callbacks run on the worker thread and only post messages; the window does the rest.
#include "engine_worker.h"

#include <memory>

#include "setup_messages.h"

namespace qxisetup {
namespace {

// The callbacks carry no user data; the window they report to is set before the thread
// starts and stays until it has ended.
HWND g_window = nullptr;
qxirun::RunObserver* g_observer = nullptr;

// Posts in order. A full message queue (the window is busy, and the copy posts one advance
// per 4 KB block) makes the engine wait for the window instead of losing progress.
bool Post(UINT message, WPARAM wparam, LPARAM lparam) {
  while (!PostMessageA(g_window, message, wparam, lparam)) {
    if (!IsWindow(g_window)) return false;
    Sleep(1);
  }
  return true;
}

void PostText(UINT message, std::string text, int number) {
  auto posted = std::make_unique<PostedText>();
  posted->text = std::move(text);
  posted->number = number;
  if (Post(message, 0, reinterpret_cast<LPARAM>(posted.get()))) posted.release();
}

void QXI_CALL OnLog(const char* context, const char* message) {
  if (g_observer != nullptr) g_observer->Log(context, message);
  PostText(kMsgLog, std::string(context) + ": " + message, 0);
}
void QXI_CALL OnTitle(const char* text) { PostText(kMsgTitle, text, 0); }
void QXI_CALL OnDialog(const char* text, int number) {
  if (g_observer != nullptr) g_observer->SetDialog(text, number);
  PostText(kMsgSection, text, number);
}
void QXI_CALL OnSubDialog(const char* text, int number) {
  if (g_observer != nullptr) g_observer->SetSubDialog(text, number);
  PostText(kMsgFile, text, number);
}
void QXI_CALL OnAdvance(int amount) {
  if (g_observer != nullptr) g_observer->Advance(amount);
  Post(kMsgAdvance, static_cast<WPARAM>(amount), 0);
}
// The run's events count for the observer's summary only; the window shows no figures.
void QXI_CALL OnEvent(int kind, const char* text, unsigned int number) {
  if (g_observer != nullptr) g_observer->Event(kind, text, number);
}

}  // namespace

bool EngineWorker::Start(const qxirun::EngineLibrary& engine, HWND window,
                         const std::string& script, const std::string& section,
                         qxirun::RunObserver* observer) {
  g_window = window;
  g_observer = observer;
  engine.register_log(OnLog);
  engine.register_title(OnTitle);
  engine.register_dialog(OnDialog);
  engine.register_sub_dialog(OnSubDialog);
  engine.register_advance(OnAdvance);
  engine.register_event(OnEvent);
  process_ = engine.process;
  script_ = script;
  section_ = section;
  thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
  return static_cast<bool>(thread_);
}

void EngineWorker::Join() {
  if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

DWORD WINAPI EngineWorker::ThreadMain(void* self) {
  auto* worker = static_cast<EngineWorker*>(self);
  worker->process_(worker->script_.c_str(), worker->section_.c_str());
  Post(kMsgDone, 0, 0);
  return 0;
}

}  // namespace qxisetup
