#include "files/file_identity.h"

#include <windows.h>

#include "engine/unique_handle.h"

namespace qxi {
namespace {

bool Identify(const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
  // No access is asked for, so a file in use opens too; folders open only with backup
  // semantics.
  UniqueFileHandle handle(CreateFileA(name.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                      nullptr));
  return handle && GetFileInformationByHandle(handle.get(), &info);
}

}  // namespace

bool SameFileObject(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION first, second;
  if (!Identify(a, first) || !Identify(b, second)) return false;
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace qxi
