#include "files/file_commands.h"

#include <windows.h>

#include "engine/last_error.h"
#include "engine/unique_handle.h"
#include "files/deferred_operations.h"
#include "files/del_dir.h"
#include "files/path_utils.h"

namespace qxi {

void MakeDir(const ParamList& params) {
  // Whether the attributes could be set is not looked at: MakeDir never reports.
  MakeDirectoryChain(params[file_line::kName], params[file_line::kAttributes]);
}

void DelFile(const ParamList& params) {
  const std::string& file = params[file_line::kName];
  if (!DeleteFileA(file.c_str())) ScheduleDelete(file);
}

void DelDir(const ParamList& params) { DeleteDirectoryTree(params[file_line::kName]); }

void CreateEmptyFile(const ParamList& params) {
  // CREATE_NEW never overwrites: an existing file fails with ERROR_FILE_EXISTS.
  UniqueFileHandle file(CreateFileA(params[file_line::kName].c_str(), 0, 0, nullptr, CREATE_NEW,
                                    params[file_line::kAttributes], nullptr));
  if (!file) ThrowLastError();
}

void RenameFile(const ParamList& params) {
  const std::string& source = params[file_line::kSource];
  const std::string& destination = params[file_line::kDestination];
  if (!MoveFileA(source.c_str(), destination.c_str())) ScheduleReplace(destination, source);
}

void MoveFileReplacing(const ParamList& params) {
  const std::string& source = params[file_line::kSource];
  const std::string& destination = params[file_line::kDestination];
  if (!MoveFileExA(source.c_str(), destination.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    ScheduleReplace(destination, source);
  }
}

}  // namespace qxi
