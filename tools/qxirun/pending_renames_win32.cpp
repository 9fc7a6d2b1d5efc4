// Reads the registry value as the engine does, and [Rename] through the profile functions,
// as the restart itself will.
#include "pending_renames.h"

#include <windows.h>

#include <string>
#include <vector>

#include "files/pending_file_renames.h"

namespace qxirun {
namespace {

int CountWininitLines() {
  char windows_dir[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(windows_dir, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  std::string ini_path = std::string(windows_dir) + "\\WININIT.INI";

  // The section comes back as NUL-terminated lines followed by one more NUL; a buffer that is
  // too small is reported by a count of its size less 2, so grow until it fits.
  std::vector<char> buffer(4096);
  DWORD used = 0;
  for (;;) {
    used = GetPrivateProfileSectionA("Rename", buffer.data(), static_cast<DWORD>(buffer.size()),
                                     ini_path.c_str());
    if (used + 2 < buffer.size() || buffer.size() >= (1u << 26)) break;
    buffer.resize(buffer.size() * 4);
  }
  int lines = 0;
  for (DWORD at = 0; at < used;) {
    std::string line(buffer.data() + at);
    if (!line.empty()) ++lines;
    at += static_cast<DWORD>(line.size()) + 1;
  }
  return lines;
}

}  // namespace

WaitingOperations CountWaitingOperations() {
  WaitingOperations waiting;
  waiting.file_renames = static_cast<int>(qxi::ReadPendingFileRenames().size());
  waiting.wininit = CountWininitLines();
  return waiting;
}

}  // namespace qxirun
