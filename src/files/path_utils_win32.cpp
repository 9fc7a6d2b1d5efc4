// The path utilities that ask the system.
#include "files/path_utils.h"

#include <windows.h>

#include <string_view>

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/last_error.h"
#include "files/file_journal.h"

namespace qxi {
namespace {

// The prefix of the temporary names; the system adds up to four hexadecimal digits and .TMP.
constexpr std::string_view kTemporaryPrefix = "QXI";

}  // namespace

bool MakeDirectoryChain(const std::string& path, uint32_t attributes) {
  // What the last folder had, when it was there, is asked only for the journal.
  const DWORD before = Journaling() ? GetFileAttributesA(path.c_str()) : INVALID_FILE_ATTRIBUTES;
  // False, with the system's error, when the folder was not made; a folder made is journalled.
  const auto make = [](const std::string& folder) {
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return false;
    JournalPath(journal_kind::kFolderMake, folder);
    return true;
  };
  // For all but the first file of a folder the folder is there already: one call settles
  // that, instead of one per folder from the drive down.
  if (!make(path) && GetLastError() != ERROR_ALREADY_EXISTS) {
    for (size_t i = 0; i < path.size(); ++i) {
      if (path[i] == '\\') make(path.substr(0, i));
    }
    make(path);
  }
  const bool set = SetFileAttributesA(path.c_str(), attributes) != FALSE;
  if (set && before != INVALID_FILE_ATTRIBUTES) JournalFolderAttributes(path, before, attributes);
  return set;
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
