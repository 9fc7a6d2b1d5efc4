#include "archive/entry_output.h"

#include <windows.h>

#include "engine/host_callbacks.h"
#include "files/path_utils.h"

namespace qxi {
EntryOutput::EntryOutput(const std::string& destination) : path_(destination) {
  try {
    file_.emplace(path_.c_str(), CREATE_ALWAYS, GENERIC_WRITE);
  } catch (const File::Except&) {
    path_ = MakeTempFileName();
    temporary_ = true;
    file_.emplace(path_.c_str(), CREATE_ALWAYS, GENERIC_WRITE);
  }
}

EntryOutput::EntryOutput(ToTemporaryFile) : path_(MakeTempFileName()), temporary_(true) {
  file_.emplace(path_.c_str(), CREATE_ALWAYS, GENERIC_WRITE);
}

EntryOutput::~EntryOutput() {
  if (kept_) return;
  file_.reset();
  DeleteFileA(path_.c_str());
}

void EntryOutput::Write(const char* data, size_t size) {
  try {
    file_->Write(data, static_cast<uint32_t>(size));
  } catch (const File::Except&) {
    write_failed_ = true;
    throw;
  }
  Callbacks().advance_dialog(static_cast<int>(size));
}

void EntryOutput::Finish(const QxzFileInfo& info) {
  kept_ = true;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(info.file_time);
  time.dwHighDateTime = static_cast<DWORD>(info.file_time >> 32);
  file_->SetTimes(&time, &time, nullptr);
  file_.reset();
  SetFileAttributesA(path_.c_str(), info.attributes);
}

}  // namespace qxi
