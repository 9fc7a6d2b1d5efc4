#include "engine/full_path.h"

#include <windows.h>

#include "engine/read_until_complete.h"

namespace qxi {

std::string FullPathOf(const std::string& path) {
  const std::optional<std::string> full =
      GrowUntilComplete(MAX_PATH, 0, [&](char* buffer, size_t size) {
        return size_t{GetFullPathNameA(path.c_str(), static_cast<DWORD>(size), buffer, nullptr)};
      });
  return full && !full->empty() ? *full : path;
}

}  // namespace qxi
