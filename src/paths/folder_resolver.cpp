#include "paths/folder_resolver.h"

#include <cstring>

namespace qxi {

std::string DirectoryQueryText(size_t length, const char* buffer, size_t buffer_size) {
  if (length == 0 || length >= buffer_size) return std::string();
  std::string text(buffer, length);
  if (text.size() == 3) text.resize(2);
  return text;
}

std::string FirstCdromDrive(const char* list, size_t length, bool (*is_cdrom)(const char* root)) {
  size_t i = 0;
  while (i < length && list[i] != '\0') {
    // A root that is not ended by a NUL inside the list is cut off: it is not looked at.
    const void* nul = std::memchr(list + i, '\0', length - i);
    if (nul == nullptr) break;
    const char* root = list + i;
    if (is_cdrom(root)) return std::string(1, root[0]) + ':';
    i = static_cast<size_t>(static_cast<const char*>(nul) - list) + 1;
  }
  return "D:";
}

}  // namespace qxi
