#include "files/restart_path.h"

#include <windows.h>

#include <optional>

#include "engine/read_until_complete.h"
#include "files/system_folder_redirection.h"

namespace qxi {

std::string FullPath(const std::string& path) {
  const std::optional<std::string> full =
      GrowUntilComplete(MAX_PATH, 0, [&](char* buffer, size_t size) {
        return size_t{GetFullPathNameA(path.c_str(), static_cast<DWORD>(size), buffer, nullptr)};
      });
  return full && !full->empty() ? *full : path;
}

std::string RestartPath(const std::string& path) {
  std::string full = FullPath(path);
  if (auto folders = CurrentRedirectedFolders()) full = UndoRedirection(full, *folders);
  return full;
}

}  // namespace qxi
