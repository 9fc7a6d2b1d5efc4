#include "files/restart_mechanism.h"

#include <windows.h>

namespace qxi {

RestartMechanism CurrentRestartMechanism() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  // Only the 95 family reports VER_PLATFORM_WIN32_WINDOWS; a system that cannot answer is
  // taken for the NT family, whose mechanism reports its own failures.
  if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    return RestartMechanism::kWininitRename;
  }
  return RestartMechanism::kPendingFileRenames;
}

}  // namespace qxi
