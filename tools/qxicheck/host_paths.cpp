// The parts of path handling that are the same on every platform.
#include "host_paths.h"

namespace qxicheck {

bool IsRelativePath(std::string_view text) {
  if (!text.empty() && (text[0] == '\\' || text[0] == '/')) return false;
  const bool drive = text.size() >= 2 && text[1] == ':' &&
                     ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
  return !drive;
}

std::vector<std::string> PathParts(std::string_view text, bool trim) {
  std::vector<std::string> parts;
  size_t begin = 0;
  for (;;) {
    const size_t end = text.find_first_of("\\/", begin);
    std::string part(text.substr(begin, end == std::string_view::npos ? end : end - begin));
    if (trim && part != "." && part != "..") {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    }
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else {
        parts.push_back(part);
      }
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (end == std::string_view::npos) break;
    begin = end + 1;
  }
  return parts;
}

std::string FolderOf(const std::string& path) {
  const size_t last = path.find_last_of("\\/");
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace qxicheck
