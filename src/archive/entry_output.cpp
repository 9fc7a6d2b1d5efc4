#include "archive/entry_output.h"

#include <windows.h>

#include "engine/host_callbacks.h"
#include "engine/text_compare.h"
#include "files/path_utils.h"

namespace qxi {
namespace {

// MakeTempFileName's names: the prefix, up to four hexadecimal digits, the extension.
constexpr char kTemporaryPrefix[] = "QXI";
constexpr char kTemporaryExtension[] = ".TMP";

bool StartsWith(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && NamesEqual(text.substr(0, start.size()), start);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && NamesEqual(text.substr(text.size() - end.size()), end);
}

}  // namespace

EntryOutput::EntryOutput(const std::string& destination) : path_(destination) {
  try {
    file_.emplace(path_.c_str(), CREATE_ALWAYS, GENERIC_WRITE);
  } catch (const File::Except&) {
    path_ = MakeTempFileName();
    temporary_ = true;
    file_.emplace(path_.c_str(), CREATE_ALWAYS, GENERIC_WRITE);
  }
}

EntryOutput::~EntryOutput() {
  if (kept_) return;
  file_.reset();
  DeleteFileA(path_.c_str());
}

void EntryOutput::Write(const char* data, size_t size) {
  file_->Write(data, static_cast<uint32_t>(size));
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

bool IsEntryTemporaryFile(const std::string& path) {
  char directory[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, directory);
  if (length == 0 || length >= MAX_PATH) return false;
  std::string_view view(path);
  if (!StartsWith(view, std::string_view(directory, length))) return false;
  const std::string_view name = view.substr(length);
  return name.find('\\') == std::string_view::npos && StartsWith(name, kTemporaryPrefix) &&
         EndsWith(name, kTemporaryExtension);
}

}  // namespace qxi
