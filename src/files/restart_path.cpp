#include "files/restart_path.h"

#include <windows.h>

#include "files/system_folder_redirection.h"

namespace qxi {

std::string FullPath(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0],
                                  nullptr);
  if (length >= full.size()) {  // too small: the answer is the size needed
    full.assign(length, '\0');
    length = GetFullPathNameA(path.c_str(), length, &full[0], nullptr);
    if (length >= full.size()) length = 0;
  }
  if (length == 0) return path;
  full.resize(length);
  return full;
}

std::string RestartPath(const std::string& path) {
  std::string full = FullPath(path);
  if (auto folders = CurrentRedirectedFolders()) full = UndoRedirection(full, *folders);
  return full;
}

}  // namespace qxi
