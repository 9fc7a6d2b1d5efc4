// The text-only path utilities; they build on every platform.
#include "files/path_utils.h"

namespace qxi {

std::string JoinPath(const std::string& directory, const std::string& name) {
  std::string path = directory;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + name;
}

std::string DirectoryOf(const std::string& path) {
  size_t last = path.rfind('\\');
  return last == std::string::npos ? path : path.substr(0, last);
}

}  // namespace qxi
