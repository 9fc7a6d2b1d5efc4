#include "files/restart_deferral.h"

#include <windows.h>

namespace qxi {

bool CanWaitForRestart(const std::string& destination, uint32_t error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return true;
    case ERROR_ACCESS_DENIED: {
      // Also the answer for a folder of that name and for a read-only file, which the
      // restart cannot replace either; otherwise a file being deleted or run.
      const DWORD attributes = GetFileAttributesA(destination.c_str());
      return attributes != INVALID_FILE_ATTRIBUTES &&
             (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
    }
    default:
      return false;
  }
}

}  // namespace qxi
