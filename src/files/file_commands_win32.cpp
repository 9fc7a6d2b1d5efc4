#include "files/file_commands.h"

#include <windows.h>

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/last_error.h"
#include "engine/unique_handle.h"
#include "files/deferred_operations.h"
#include "files/file_journal.h"
#include "files/path_utils.h"
#include "registry/shared_file_claims.h"

namespace qxi {
namespace file_commands {
namespace {

// Hands the move of `source` onto `destination` to the restart, journalled.
void MoveAtRestart(const std::string& source, const std::string& destination, bool existed) {
  ScheduleReplace(destination, source);
  JournalMove(journal_kind::kRestartMove, source, destination, existed);
}

// Removes `file` now; a read-only file loses that attribute first. One that is gone already
// (or whose folder is) is left at that; one that cannot go now (in use) goes at the restart.
void RemoveFileNowOrAtRestart(const std::string& file) {
  if (DeleteFileA(file.c_str())) return JournalPath(journal_kind::kFileDelete, file);
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
  const DWORD attributes = GetFileAttributesA(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return;  // a folder of that name: not a file to remove
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
      SetFileAttributesA(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) &&
      DeleteFileA(file.c_str())) {
    return JournalPath(journal_kind::kFileDelete, file);
  }
  ScheduleDelete(file);
  JournalPath(journal_kind::kRestartDelete, file);
}

}  // namespace

void MakeDir(const ParamList& params) {
  // Whether the attributes could be set is not looked at: MakeDir never reports.
  MakeDirectoryChain(params[kName], params[kAttributes]);
}

void DelFile(const ParamList& params) {
  const std::string& file = params[kName];
  if (DeleteFileA(file.c_str())) return JournalPath(journal_kind::kFileDelete, file);
  ScheduleDelete(file);
  JournalPath(journal_kind::kRestartDelete, file);
}

void CreateEmptyFile(const ParamList& params) {
  // CREATE_NEW never overwrites: an existing file fails with ERROR_FILE_EXISTS.
  UniqueFileHandle file(CreateFileA(params[kName].c_str(), 0, 0, nullptr, CREATE_NEW,
                                    params[kAttributes], nullptr));
  if (!file) ThrowLastError();
  JournalFileWrite(params[kName], /*existed=*/false);
}

void RenameFile(const ParamList& params) {
  const std::string& source = params[kSource];
  const std::string& destination = params[kDestination];
  // MoveFileA never replaces: a destination it moves onto was not there.
  if (MoveFileA(source.c_str(), destination.c_str())) {
    return JournalMove(journal_kind::kFileMove, source, destination, false);
  }
  MoveAtRestart(source, destination, Journaling() && IsPresent(destination));
}

void MoveFileReplacing(const ParamList& params) {
  const std::string& source = params[kSource];
  const std::string& destination = params[kDestination];
  const bool existed = Journaling() && IsPresent(destination);
  if (MoveFileExA(source.c_str(), destination.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    return JournalMove(journal_kind::kFileMove, source, destination, existed);
  }
  MoveAtRestart(source, destination, existed);
}

void RemoveFile(const ParamList& params) { RemoveFileNowOrAtRestart(params[kName]); }

void RemoveSharedFile(const ParamList& params) {
  const std::string& file = params[kName];
  if (ReleasePriorityClaim(file, static_cast<uint32_t>(params[kSharedPriority]),
                           static_cast<uint32_t>(params[kPreviousPriority]),
                           /*made=*/true) == ClaimOutcome::kFileGoes) {
    RemoveFileNowOrAtRestart(file);
  }
}

void RemoveEmptyDir(const ParamList& params) {
  const std::string& folder = params[kName];
  // Anything still in it (a file of the user's), or the folder gone already: it is left.
  if (RemoveDirectoryA(folder.c_str())) JournalPath(journal_kind::kFolderRemove, folder);
}

void MoveFileBack(const ParamList& params) {
  const std::string& source = params[kSource];
  const std::string& destination = params[kDestination];
  // Gone already, or something else stands at the old place now: both are left as they are.
  if (!IsPresent(source) || IsPresent(destination)) return;
  if (MoveFileExA(source.c_str(), destination.c_str(), MOVEFILE_COPY_ALLOWED)) {
    return JournalMove(journal_kind::kFileMove, source, destination, false);
  }
  MoveAtRestart(source, destination, false);
}

}  // namespace file_commands
}  // namespace qxi
