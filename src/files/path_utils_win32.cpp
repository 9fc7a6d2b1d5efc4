// The path utilities that ask the system.
#include "files/path_utils.h"

#include <windows.h>

#include <string_view>

#include "engine/last_error.h"

namespace qxi {
namespace {

// The prefix of the temporary names; the system adds up to four hexadecimal digits and .TMP.
constexpr std::string_view kTemporaryPrefix = "QXI";

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

bool PathExists(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  // A file whose folder is missing is as missing as the file itself; other failures (access
  // denied, a file the system holds) leave a file that is there.
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace qxi
