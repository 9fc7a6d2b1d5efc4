// Finding a path of a script on Windows: the system itself resolves it.
#include <windows.h>

#include "engine/text_compare.h"
#include "host_paths.h"

namespace qxicheck {

LocatedPath Locate(const std::string& folder, std::string_view text) {
  // The system resolves the path; only "." and ".." are taken out, for the path shown.
  LocatedPath located;
  located.path = folder;
  for (const std::string& part : PathParts(text, false)) {
    located.path += (located.path.empty() ? "" : "\\") + part;
  }
  if (located.path.empty()) located.path = ".";
  // A name ending in a separator is a folder's: the engine's open of it fails, so the check
  // keeps the separator rather than find the file without it.
  if (!text.empty() && (text.back() == '\\' || text.back() == '/')) located.path += '\\';
  const DWORD attributes = GetFileAttributesA(located.path.c_str());
  located.exists = attributes != INVALID_FILE_ATTRIBUTES;
  located.is_file = located.exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return located;
}

std::string PathKey(const std::string& path) {
  char full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  std::string key = length > 0 && length < sizeof full ? std::string(full, length) : path;
  for (char& c : key) c = qxi::AsciiLower(c);
  return key;
}

}  // namespace qxicheck
