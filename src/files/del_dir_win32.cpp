// DelDir: removes a directory with everything in it, depth first, the innermost entries
// first. The sweep always ends: the first entry that cannot be removed ends it with an error.
#include "files/file_commands.h"

#include <windows.h>

#include <set>

#include "engine/journal_text.h"
#include "engine/last_error.h"
#include "engine/qx_err.h"
#include "engine/unique_handle.h"
#include "files/file_journal.h"
#include "files/path_utils.h"

namespace qxi {
namespace {

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The first entry of `directory` that is neither "." nor ".." nor one of `removed`, into
// `entry`. False when there is none, also when the directory cannot be searched at all (its
// removal then reports why). The search is closed before returning.
bool FindFirstEntry(const std::string& directory, const std::set<std::string>& removed,
                    WIN32_FIND_DATAA& entry) {
  UniqueFindHandle search(FindFirstFileA(JoinPath(directory, "*.*").c_str(), &entry));
  if (!search) return false;
  do {
    if (!IsDotEntry(entry.cFileName) && removed.count(entry.cFileName) == 0) return true;
  } while (FindNextFileA(search.get(), &entry));
  return false;
}

// Removes every entry of `directory`, then the directory itself (see DelDir).
void DeleteDirectoryTree(const std::string& directory) {
  // An empty name would make the search below "\*.*": everything on the current drive.
  if (directory.empty()) throw QXErr(kRunTimeError, ERROR_PATH_NOT_FOUND);

  // Entries removed already. One that another process holds open, shared for deletion, is
  // only marked for deletion and stays listed until it is let go; it is not looked at again,
  // and the directory's own removal then fails as not empty.
  std::set<std::string> removed;
  WIN32_FIND_DATAA entry;
  // A fresh search after every removal: the directory changes under the search each time.
  while (FindFirstEntry(directory, removed, entry)) {
    const std::string path = JoinPath(directory, entry.cFileName);
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      // A link to a directory elsewhere: following it would empty a directory outside the tree.
      if (!RemoveDirectoryA(path.c_str())) ThrowLastError();
      JournalPath(journal_kind::kFolderRemove, path);
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      DeleteDirectoryTree(path);
    } else if (!DeleteFileA(path.c_str())) {
      // A read-only or open file would be found again and again: it ends the sweep instead.
      ThrowLastError();
    } else {
      JournalPath(journal_kind::kFileDelete, path);
    }
    removed.insert(entry.cFileName);
  }
  if (!RemoveDirectoryA(directory.c_str())) ThrowLastError();
  JournalPath(journal_kind::kFolderRemove, directory);
}

}  // namespace

void file_commands::DelDir(const ParamList& params) { DeleteDirectoryTree(params[kName]); }

}  // namespace qxi
