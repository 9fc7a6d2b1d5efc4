// The host's registered callbacks, the log context (the running script's path), SendLog, the
// one road by which the engine reports failures, SendEvent, the road of the run's events, and
// the journal function (engine/journal.h sends its records).
#pragma once

#include <cstdint>
#include <string>

#include "qxi.h"

namespace qxi {

/// The callbacks; each member always holds a callable function (never null).
struct HostCallbacks {
  QxiLogFunction log;
  QxiSetDialogTitleFunction set_dialog_title;
  QxiSetDialogFunction set_dialog;
  QxiSetSubDialogFunction set_sub_dialog;
  QxiAdvanceDialogFunction advance_dialog;
  QxiEventFunction event;
  QxiJournalFunction journal;
};

/// The process-wide callbacks, initially the do-nothing functions.
HostCallbacks& Callbacks();

/// Puts the do-nothing function back into every member.
void ResetCallbacks();

/// Register helpers behind the exports: store `fn` (the do-nothing function for null), return `fn`.
QxiLogFunction RegisterLog(QxiLogFunction fn);
QxiSetDialogTitleFunction RegisterDialogTitle(QxiSetDialogTitleFunction fn);
QxiSetDialogFunction RegisterDialog(QxiSetDialogFunction fn);
QxiSetSubDialogFunction RegisterSubDialog(QxiSetSubDialogFunction fn);
QxiAdvanceDialogFunction RegisterAdvance(QxiAdvanceDialogFunction fn);
QxiEventFunction RegisterEvent(QxiEventFunction fn);
QxiJournalFunction RegisterJournal(QxiJournalFunction fn);

/// True when a journal function other than the do-nothing one is registered.
bool JournalRegistered();

/// The path of the script whose master section runs; empty outside a run.
const std::string& CurrentScriptPath();

/// Sends `message` to the log callback with CurrentScriptPath() as its context.
void SendLog(const char* message);

/// Sends one event of the run (a QXI_EVENT_... kind of qxi.h) to the event callback.
void SendEvent(int kind, const std::string& text, uint32_t number);

/// Makes `path` the log context for its lifetime and restores the previous one afterwards,
/// so that nested runs report with their own script's path.
class ScopedScriptPath {
 public:
  explicit ScopedScriptPath(const std::string& path);
  ~ScopedScriptPath();
  ScopedScriptPath(const ScopedScriptPath&) = delete;
  ScopedScriptPath& operator=(const ScopedScriptPath&) = delete;

 private:
  std::string saved_;
};

}  // namespace qxi
