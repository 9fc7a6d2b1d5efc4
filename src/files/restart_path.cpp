#include "files/restart_path.h"

#include "engine/full_path.h"
#include "files/system_folder_redirection.h"

namespace qxi {

std::string RestartPath(const std::string& path) {
  std::string full = FullPathOf(path);
  if (auto folders = CurrentRedirectedFolders()) full = UndoRedirection(full, *folders);
  return full;
}

}  // namespace qxi
