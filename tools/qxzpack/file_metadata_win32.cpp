#include "file_metadata.h"

#include <windows.h>

#include <io.h>

#include <cstdio>
#include <stdexcept>

namespace qxzpack {
namespace {

[[noreturn]] void RaiseLastError(const char* what, const std::string& path) {
  const DWORD error = GetLastError();
  char text[512] = "";
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     error, 0, text, sizeof text, nullptr) == 0) {
    std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(error));
  }
  throw std::runtime_error(path + ": " + what + ": " + text);
}

// Closes a CreateFileA handle; invalid is INVALID_HANDLE_VALUE.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

FileMetadata ReadFileMetadata(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    RaiseLastError("cannot read attributes", path);
  }
  FileMetadata metadata;
  metadata.attributes = data.dwFileAttributes;
  metadata.file_time = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 |
                       data.ftLastWriteTime.dwLowDateTime;
  return metadata;
}

void ApplyFileMetadata(const std::string& path, const FileMetadata& metadata) {
  {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) RaiseLastError("cannot open to set time", path);
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(metadata.file_time);
    time.dwHighDateTime = static_cast<DWORD>(metadata.file_time >> 32);
    if (!SetFileTime(file.get(), &time, &time, nullptr)) {
      RaiseLastError("cannot set file time", path);
    }
  }
  SetFileAttributesA(path.c_str(), metadata.attributes);
}

bool RemoveFileForcibly(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != 0;
}

bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace qxzpack
