#include "files/delayed_file_operations.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "engine/qx_err.h"
#include "engine/text_compare.h"
#include "files/pending_file_renames.h"
#include "files/restart_path.h"
#include "registry/reg_key.h"

namespace qxi {
namespace {

// The Session Manager key, opened to read and set values: the right the system needs to
// record. Asked for first, because the system does not always say why its recording failed
// (Wine leaves the last error as it was). Raises QXErr with the registry's result code.
RegKey OpenForRecording() {
  HKEY key;
  const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0,
                                    KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
  if (result != ERROR_SUCCESS) throw QXErr(kRunTimeError, static_cast<uint32_t>(result));
  return RegKey(key);
}

void Record(const std::string& source, const std::string* destination, DWORD flags) {
  SetLastError(ERROR_SUCCESS);
  if (!MoveFileExA(source.c_str(), destination ? destination->c_str() : nullptr,
                   MOVEFILE_DELAY_UNTIL_REBOOT | flags)) {
    throw QXErr(kRunTimeError, GetLastError());
  }
}

bool Names(const std::string& recorded, const std::string& path) {
  return NamesEqual(PathOfRecordedName(recorded), path);
}

bool ReplacesFile(const PendingFileRename& rename, const std::string& path) {
  return !rename.destination.empty() && Names(rename.destination, path);
}

}  // namespace

void DelayReplace(const std::string& destination, const std::string& source) {
  const std::string to = RestartPath(destination);
  const std::string from = RestartPath(source);
  const RegKey key = OpenForRecording();
  std::vector<PendingFileRename> renames = ReadPendingFileRenames(key.handle());
  const auto superseded = std::remove_if(renames.begin(), renames.end(), [&](const auto& r) {
    return ReplacesFile(r, to);
  });
  if (superseded != renames.end()) {
    renames.erase(superseded, renames.end());
    const LONG result = WritePendingFileRenames(key.handle(), renames);
    if (result != ERROR_SUCCESS) throw QXErr(kRunTimeError, static_cast<uint32_t>(result));
  }
  Record(from, &to, MOVEFILE_REPLACE_EXISTING);
}

void DelayDelete(const std::string& file) {
  const std::string path = RestartPath(file);
  const RegKey key = OpenForRecording();
  for (const PendingFileRename& rename : ReadPendingFileRenames(key.handle())) {
    if (rename.destination.empty() && Names(rename.source, path)) return;
  }
  Record(path, nullptr, 0);
}

std::string DelayedSource(const std::string& destination) {
  const std::string path = RestartPath(destination);
  std::string source;
  for (const PendingFileRename& rename : ReadPendingFileRenames()) {
    if (ReplacesFile(rename, path)) source = PathOfRecordedName(rename.source);
  }
  return source;
}

}  // namespace qxi
