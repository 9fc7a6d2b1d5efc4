#include "files/file_commands.h"

#include <windows.h>

#include "engine/last_error.h"
#include "engine/unique_handle.h"
#include "files/deferred_operations.h"
#include "files/path_utils.h"

namespace qxi {
namespace file_commands {

void MakeDir(const ParamList& params) {
  // Whether the attributes could be set is not looked at: MakeDir never reports.
  MakeDirectoryChain(params[kName], params[kAttributes]);
}

void DelFile(const ParamList& params) {
  const std::string& file = params[kName];
  if (!DeleteFileA(file.c_str())) ScheduleDelete(file);
}

void CreateEmptyFile(const ParamList& params) {
  // CREATE_NEW never overwrites: an existing file fails with ERROR_FILE_EXISTS.
  UniqueFileHandle file(CreateFileA(params[kName].c_str(), 0, 0, nullptr, CREATE_NEW,
                                    params[kAttributes], nullptr));
  if (!file) ThrowLastError();
}

void RenameFile(const ParamList& params) {
  const std::string& source = params[kSource];
  const std::string& destination = params[kDestination];
  if (!MoveFileA(source.c_str(), destination.c_str())) ScheduleReplace(destination, source);
}

void MoveFileReplacing(const ParamList& params) {
  const std::string& source = params[kSource];
  const std::string& destination = params[kDestination];
  if (!MoveFileExA(source.c_str(), destination.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    ScheduleReplace(destination, source);
  }
}

}  // namespace file_commands
}  // namespace qxi
