// What the stub takes over from the engine: a script's restart, log-off and shut-down
// requests wait until the run is over (and the private folder is gone), and in a silent run
// a MessageBox line is logged and taken as answered instead of waiting for a person.
#pragma once

#include <string>

#include "run_log.h"
#include "stub_engine.h"

namespace qxistub {

/// Registers the takeovers with the engine; the message box only when `silent`. `log` must
/// outlive the run.
void TakeOverSession(const StubEngine& engine, RunLog& log, bool silent);

/// The flag (EWX_REBOOT, EWX_LOGOFF, EWX_SHUTDOWN) of the last request a script made; -1 when
/// it made none.
int RequestedSessionEnd();

/// Asks the person whether to do now what the run needs (`flags` as above, or EWX_REBOOT for
/// operations waiting for a restart), and asks Windows for it, with the shutdown privilege,
/// on yes. Returns false when the person said no or Windows refused.
bool OfferSessionEnd(int flags, const std::string& title);

}  // namespace qxistub
