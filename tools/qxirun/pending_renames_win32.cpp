// Reads the registry value as the engine does, and [Rename] through the profile functions,
// as the restart itself will.
#include "pending_renames.h"

#include <windows.h>

#include <optional>
#include <string>

#include "engine/read_until_complete.h"
#include "files/pending_file_renames.h"

namespace qxirun {
namespace {

int CountWininitLines() {
  char windows_dir[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(windows_dir, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  const std::string ini_path = std::string(windows_dir) + "\\WININIT.INI";

  // NUL-terminated lines; a list cut for want of room is answered with its size less 2.
  const std::optional<std::string> lines =
      qxi::GrowUntilComplete(4096, 2, [&](char* buffer, size_t size) {
        return size_t{GetPrivateProfileSectionA("Rename", buffer, static_cast<DWORD>(size),
                                                ini_path.c_str())};
      });
  if (!lines) return 0;  // beyond any real restart file
  int count = 0;
  for (size_t at = 0; at < lines->size();) {
    const size_t end = lines->find('\0', at);
    if (end != at) ++count;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return count;
}

}  // namespace

WaitingOperations CountWaitingOperations() {
  WaitingOperations waiting;
  waiting.file_renames = static_cast<int>(qxi::ReadPendingFileRenames().size());
  waiting.wininit = CountWininitLines();
  return waiting;
}

}  // namespace qxirun
