#include "files/file_commands.h"

#include <windows.h>

#include "engine/qx_err.h"
#include "engine/unique_handle.h"
#include "files/deferred_operations.h"
#include "files/path_utils.h"

namespace qxi {

void MakeDir(const ParamList& params) {
  // Whether the attributes could be set is not looked at: MakeDir never reports.
  MakeDirectoryChain(params.Text(0), params.Attributes(1));
}

void DelFile(const ParamList& params) {
  const std::string& file = params.Text(0);
  if (!DeleteFileA(file.c_str())) ScheduleDelete(file);
}

void CreateEmptyFile(const ParamList& params) {
  // CREATE_NEW never overwrites: an existing file fails with ERROR_FILE_EXISTS.
  UniqueFileHandle file(CreateFileA(params.Text(0).c_str(), 0, 0, nullptr, CREATE_NEW,
                                    params.Attributes(1), nullptr));
  if (!file) throw QXErr(kRunTimeError, GetLastError());
}

void RenameFile(const ParamList& params) {
  const std::string& source = params.Text(0);
  const std::string& destination = params.Text(1);
  if (!MoveFileA(source.c_str(), destination.c_str())) ScheduleReplace(destination, source);
}

void MoveFileReplacing(const ParamList& params) {
  const std::string& source = params.Text(0);
  const std::string& destination = params.Text(1);
  if (!MoveFileExA(source.c_str(), destination.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    ScheduleReplace(destination, source);
  }
}

}  // namespace qxi
