// GetFullPathNameA completes the path against the current folder and says where its file
// name starts; everything before that is the folder, backslash included.
#include "script_folder.h"

#include <windows.h>

namespace qxirun {

std::string EnterScriptFolder(const std::string& script) {
  const DWORD needed = GetFullPathNameA(script.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return script;
  std::string full(needed, '\0');
  char* file_part = nullptr;
  const DWORD length = GetFullPathNameA(script.c_str(), needed, full.data(), &file_part);
  // No file part: the path ends in a separator and names no file to run.
  if (length == 0 || length >= needed || file_part == nullptr) return script;
  full.resize(length);
  const std::string folder = full.substr(0, static_cast<size_t>(file_part - full.data()));
  if (!SetCurrentDirectoryA(folder.c_str())) return script;
  return full;
}

}  // namespace qxirun
