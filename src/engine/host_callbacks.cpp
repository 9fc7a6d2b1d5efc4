#include "engine/host_callbacks.h"

#include <utility>

namespace qxi {
namespace {

void QXI_CALL IgnoreLog(const char*, const char*) {}
void QXI_CALL IgnoreDialogTitle(const char*) {}
void QXI_CALL IgnoreDialog(const char*, int) {}
void QXI_CALL IgnoreSubDialog(const char*, int) {}
void QXI_CALL IgnoreAdvance(int) {}
void QXI_CALL IgnoreEvent(int, const char*, unsigned int) {}
void QXI_CALL IgnoreJournal(const char*) {}

HostCallbacks g_callbacks = {IgnoreLog,     IgnoreDialogTitle, IgnoreDialog, IgnoreSubDialog,
                             IgnoreAdvance, IgnoreEvent,       IgnoreJournal};

std::string& ScriptPathStorage() {
  static std::string path;
  return path;
}

template <typename Fn>
Fn Store(Fn& member, Fn fn, Fn fallback) {
  member = fn ? fn : fallback;
  return fn;
}

}  // namespace

HostCallbacks& Callbacks() { return g_callbacks; }

void ResetCallbacks() {
  g_callbacks = {IgnoreLog,     IgnoreDialogTitle, IgnoreDialog, IgnoreSubDialog,
                 IgnoreAdvance, IgnoreEvent,       IgnoreJournal};
}

QxiLogFunction RegisterLog(QxiLogFunction fn) { return Store(g_callbacks.log, fn, &IgnoreLog); }
QxiSetDialogTitleFunction RegisterDialogTitle(QxiSetDialogTitleFunction fn) {
  return Store(g_callbacks.set_dialog_title, fn, &IgnoreDialogTitle);
}
QxiSetDialogFunction RegisterDialog(QxiSetDialogFunction fn) {
  return Store(g_callbacks.set_dialog, fn, &IgnoreDialog);
}
QxiSetSubDialogFunction RegisterSubDialog(QxiSetSubDialogFunction fn) {
  return Store(g_callbacks.set_sub_dialog, fn, &IgnoreSubDialog);
}
QxiAdvanceDialogFunction RegisterAdvance(QxiAdvanceDialogFunction fn) {
  return Store(g_callbacks.advance_dialog, fn, &IgnoreAdvance);
}
QxiEventFunction RegisterEvent(QxiEventFunction fn) {
  return Store(g_callbacks.event, fn, &IgnoreEvent);
}

QxiJournalFunction RegisterJournal(QxiJournalFunction fn) {
  return Store(g_callbacks.journal, fn, &IgnoreJournal);
}

bool JournalRegistered() { return g_callbacks.journal != &IgnoreJournal; }

const std::string& CurrentScriptPath() { return ScriptPathStorage(); }

void SendLog(const char* message) { g_callbacks.log(ScriptPathStorage().c_str(), message); }

void SendEvent(int kind, const std::string& text, uint32_t number) {
  g_callbacks.event(kind, text.c_str(), number);
}

ScopedScriptPath::ScopedScriptPath(const std::string& path) : saved_(ScriptPathStorage()) {
  ScriptPathStorage() = path;
}

ScopedScriptPath::~ScopedScriptPath() { ScriptPathStorage().swap(saved_); }

}  // namespace qxi
