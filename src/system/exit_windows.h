// The one call through which Reboot, Logoff and Shutdown reach Windows, and the seam that lets
// tests see a request without ending their own session.
#pragma once

#include <windows.h>

namespace qxi {

/// The call the three requests make (ExitWindowsEx at start).
using ExitWindowsCall = BOOL(WINAPI*)(UINT flags, DWORD reason);

/// Routes the requests to `call` instead and returns the previous route.
ExitWindowsCall SetExitWindowsCall(ExitWindowsCall call);

}  // namespace qxi
