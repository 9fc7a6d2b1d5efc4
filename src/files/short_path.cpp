#include "files/short_path.h"

#include <windows.h>

#include <cstring>

#include "engine/qx_err.h"
#include "engine/read_until_complete.h"

namespace qxi {
namespace {

constexpr size_t kLongestBase = 8;
constexpr size_t kLongestExtension = 3;
// Printable characters that a short name cannot hold: the separators of paths and of
// [Rename] lines among them.
constexpr char kForbidden[] = " \"*+,/:;<=>?[\\]|";

bool IsShortNameCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && byte != 0x7F && std::strchr(kForbidden, c) == nullptr;
}

bool StartsWithDrive(const std::string& path) {
  const auto letter = static_cast<unsigned char>(path.empty() ? 0 : path[0] | 0x20);
  return path.size() >= 3 && letter >= 'a' && letter <= 'z' && path[1] == ':' &&
         path[2] == '\\';
}

// The system's short name of the existing `path`. Raises QXErr with the system's error.
std::string SystemShortPath(const std::string& path) {
  DWORD error = ERROR_SUCCESS;
  const std::string short_path = ReadUntilComplete(MAX_PATH, 0, [&](char* buffer, size_t size) {
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, static_cast<DWORD>(size));
    if (length == 0) error = GetLastError();
    return size_t{length};
  });
  if (short_path.empty()) throw QXErr(kRunTimeError, error);
  return short_path;
}

// True when every part after the drive is a short name (a trailing backslash ends the path
// with an empty part, which is allowed).
bool PartsAreShort(const std::string& path) {
  size_t start = 3;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (!IsShortName(std::string_view(path).substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

bool IsShortName(std::string_view name) {
  const size_t dot = name.find('.');
  const std::string_view base = name.substr(0, dot);
  const std::string_view extension =
      dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
  if (base.empty() || base.size() > kLongestBase) return false;
  if (dot != std::string_view::npos && (extension.empty() || extension.size() > kLongestExtension)) {
    return false;
  }
  for (char c : base) {
    if (!IsShortNameCharacter(c)) return false;
  }
  for (char c : extension) {  // a second dot is not allowed either
    if (c == '.' || !IsShortNameCharacter(c)) return false;
  }
  return true;
}

std::string ShortPathForRestart(const std::string& path) {
  if (!StartsWithDrive(path)) throw QXErr(kRunTimeError, ERROR_INVALID_NAME);
  std::string short_path;
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    short_path = SystemShortPath(path);
  } else {
    // Not there yet (the restart is to create it): the folder must be there, and the name
    // must need no short form of its own.
    const size_t last = path.rfind('\\');
    short_path = SystemShortPath(path.substr(0, last + 1)) + path.substr(last + 1);
  }
  if (!StartsWithDrive(short_path) || !PartsAreShort(short_path)) {
    throw QXErr(kRunTimeError, ERROR_INVALID_NAME);
  }
  return short_path;
}

}  // namespace qxi
