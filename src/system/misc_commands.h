// The "Misc" commands that talk to the user or to Windows: a message box, starting a program,
// and the requests to restart, log off or shut down. Only a refused request to restart, log
// off or shut down is reported; the others complete whatever the system answered.
#pragma once

#include <windows.h>

#include "engine/params.h"

namespace qxi {

/// "MessageBox": shows "Message body" with the caption "Message title", an information icon
/// and an OK button, and returns when the user closes it.
void ShowMessageBox(const ParamList& params);

/// "RunApp": starts "Command line" in "Current directory" (empty: the run's own current
/// directory); waits for its end at most
/// "Timeout (ms)" milliseconds (0: not at all, -1: without limit). Silent when the program
/// cannot be started.
void RunApp(const ParamList& params);

/// "Reboot", "Logoff", "Shutdown": ask Windows to restart, log off or shut down (with the
/// shutdown privilege enabled for the first and last). A refusal raises QXErr kRunTimeError
/// with the system's error.
void Reboot(const ParamList& params);
void Logoff(const ParamList& params);
void Shutdown(const ParamList& params);

/// The one call through which the three requests reach Windows.
using ExitWindowsCall = BOOL(WINAPI*)(UINT flags, DWORD reason);

/// Routes the requests to `call` instead (ExitWindowsEx at start) and returns the previous
/// route. Lets tests see the request without ending their own session.
ExitWindowsCall SetExitWindowsCall(ExitWindowsCall call);

}  // namespace qxi
