// Which of the system's two mechanisms carries out a deferred file operation at the next
// start of Windows: the Windows 95 family reads section [Rename] of WININIT.INI; the NT
// family (every later Windows) never reads that file and carries out the operations that
// MoveFileExA records in the Session Manager's PendingFileRenameOperations value.
#pragma once

namespace qxi {

enum class RestartMechanism {
  kPendingFileRenames,  // the NT family: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT
  kWininitRename,       // the 95 family: [Rename] of WININIT.INI, short names only
};

/// The mechanism of the running system, by the platform GetVersionExA reports (asked on
/// every call: nothing is cached). Never raises.
RestartMechanism CurrentRestartMechanism();

}  // namespace qxi
