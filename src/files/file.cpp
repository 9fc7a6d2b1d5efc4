#include "files/file.h"

#include "engine/last_error.h"

namespace qxi {
namespace {

constexpr uint32_t kErrorFileCorrupt = 1392;

WriteFileCall g_write_file = WriteFile;

}  // namespace

File::File(const char* name, DWORD disposition, DWORD access) {
  DWORD share = (access & GENERIC_WRITE) != 0 ? 0 : FILE_SHARE_READ;
  handle_ = CreateFileA(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) ThrowLastError<Except>();
  // CREATE_ALWAYS and OPEN_ALWAYS succeed with this code when the file was there.
  existed_ = GetLastError() == ERROR_ALREADY_EXISTS;
}

File::~File() { Close(); }

HANDLE File::Duplicate(HANDLE source) {
  if (source == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  HANDLE copy = INVALID_HANDLE_VALUE;
  HANDLE process = GetCurrentProcess();
  if (!DuplicateHandle(process, source, process, &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
    ThrowLastError<Except>();
  }
  return copy;
}

File::File(const File& other) : handle_(Duplicate(other.handle_)), existed_(other.existed_) {}

File& File::operator=(const File& other) {
  if (this != &other) {
    Close();
    handle_ = Duplicate(other.handle_);
    existed_ = other.existed_;
  }
  return *this;
}

void File::Close() noexcept {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

uint32_t File::Size() const { return GetFileSize(handle_, nullptr); }

uint32_t File::Read(void* buffer, uint32_t count) {
  DWORD read = 0;
  if (!ReadFile(handle_, buffer, count, &read, nullptr)) ThrowLastError<Except>();
  return read;
}

void File::ReadExact(void* buffer, uint32_t count) {
  if (Read(buffer, count) < count) throw Except(kErrorFileCorrupt);
}

uint32_t File::Write(const void* buffer, uint32_t count) {
  const uint32_t written = WriteSome(buffer, count);
  if (written < count) throw Except(ERROR_WRITE_FAULT);
  return written;
}

uint32_t File::WriteSome(const void* buffer, uint32_t count) {
  DWORD written = 0;
  if (!g_write_file(handle_, buffer, count, &written, nullptr)) ThrowLastError<Except>();
  return written;
}

uint32_t File::Tell() const { return SetFilePointer(handle_, 0, nullptr, FILE_CURRENT); }

uint32_t File::Seek(int32_t offset, DWORD origin) {
  return SetFilePointer(handle_, offset, nullptr, origin);
}

void File::SetTimes(const FILETIME* creation, const FILETIME* last_access,
                    const FILETIME* last_write) {
  if (!SetFileTime(handle_, creation, last_access, last_write)) ThrowLastError<Except>();
}

WriteFileCall SetWriteFileCall(WriteFileCall call) {
  WriteFileCall previous = g_write_file;
  g_write_file = call;
  return previous;
}

}  // namespace qxi
