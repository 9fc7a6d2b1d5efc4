// What a host may take over from the Misc commands: the message box (a silent setup logs it
// instead of waiting for a person) and the requests to restart, log off or shut down (a
// deployment tool restarts the machine when it chooses). Unregistered, both reach Windows.
#pragma once

#include "qxi.h"

namespace qxi {

/// Stores the host's message-box function (null: the box itself again) and returns `fn`.
QxiMessageBoxFunction RegisterMessageBoxReplacement(QxiMessageBoxFunction fn);

/// The registered message-box function; null while the box itself is shown.
QxiMessageBoxFunction MessageBoxReplacement();

/// Stores the host's function for the session requests (null: ExitWindowsEx again) and
/// returns `fn`.
QxiExitWindowsFunction RegisterExitWindowsReplacement(QxiExitWindowsFunction fn);

/// The registered session-request function; null while the requests go to Windows.
QxiExitWindowsFunction ExitWindowsReplacement();

}  // namespace qxi
