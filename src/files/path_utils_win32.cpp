// The path utilities that ask the system.
#include "files/path_utils.h"

#include <windows.h>

#include <string_view>

#include "engine/last_error.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

// The names GetTempFileNameA gives: the prefix, up to four hexadecimal digits, the extension.
constexpr std::string_view kTemporaryPrefix = "QXI";
constexpr std::string_view kTemporaryExtension = ".TMP";

bool StartsWith(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && NamesEqual(text.substr(0, start.size()), start);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && NamesEqual(text.substr(text.size() - end.size()), end);
}

}  // namespace

bool MakeDirectoryChain(const std::string& path, uint32_t attributes) {
  // For all but the first file of a folder the folder is there already: one call settles
  // that, instead of one per folder from the drive down.
  if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    for (size_t i = 0; i < path.size(); ++i) {
      if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
    CreateDirectoryA(path.c_str(), nullptr);
  }
  return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

std::string MakeTempFileName() {
  char directory[MAX_PATH];
  DWORD length = GetTempPathA(MAX_PATH, directory);
  if (length == 0 || length > MAX_PATH - 1) ThrowLastError();
  char name[MAX_PATH];
  if (GetTempFileNameA(directory, kTemporaryPrefix.data(), 0, name) == 0) ThrowLastError();
  DeleteFileA(name);  // the system made the file to reserve the name; only the name is kept
  return name;
}

bool IsOwnTemporaryFile(const std::string& path) {
  char directory[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, directory);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string_view view(path);
  if (!StartsWith(view, std::string_view(directory, length))) return false;
  const std::string_view name = view.substr(length);
  return name.find('\\') == std::string_view::npos && StartsWith(name, kTemporaryPrefix) &&
         EndsWith(name, kTemporaryExtension);
}

bool PathExists(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  // A file whose folder is missing is as missing as the file itself; other failures (access
  // denied, a file the system holds) leave a file that is there.
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace qxi
