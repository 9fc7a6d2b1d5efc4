#include "stub_files.h"

namespace qxistub {

std::string SystemFailure(const std::string& what, DWORD code) {
  char text[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    text[--length] = '\0';
  }
  return what + ": " + (length > 0 ? std::string(text) : std::string("system error")) +
         " (error " + std::to_string(code) + ")";
}

std::string OwnPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) throw StubError(SystemFailure("cannot find the setup program", GetLastError()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

ReadFileSource::ReadFileSource(const std::string& path)
    : path_(path),
      file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (!file_) throw StubError(SystemFailure("cannot open " + path, GetLastError()));
  DWORD high = 0;
  const DWORD low = GetFileSize(file_.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    throw StubError(SystemFailure("cannot read " + path, GetLastError()));
  }
  size_ = uint64_t{high} << 32 | low;
}

size_t ReadFileSource::Read(void* buffer, size_t count) {
  if (position_ >= size_) return 0;
  if (count > 0x40000000) count = 0x40000000;
  DWORD got = 0;
  if (!ReadFile(file_.get(), buffer, static_cast<DWORD>(count), &got, nullptr)) {
    throw StubError(SystemFailure("cannot read " + path_, GetLastError()));
  }
  position_ += got;
  return got;
}

void ReadFileSource::Seek(uint64_t offset) {
  LONG high = static_cast<LONG>(offset >> 32);
  if (SetFilePointer(file_.get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) ==
          INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    throw StubError(SystemFailure("cannot read " + path_, GetLastError()));
  }
  position_ = offset;
}

OutputFile::OutputFile(const std::string& path, bool must_be_new)
    : path_(path),
      file_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                        must_be_new ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {
  if (!file_) throw StubError(SystemFailure("cannot create " + path, GetLastError()));
}

void OutputFile::Write(const char* data, size_t size) {
  while (size > 0) {
    const DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(file_.get(), data, piece, &written, nullptr) || written != piece) {
      throw StubError(SystemFailure("cannot write " + path_, GetLastError()));
    }
    data += piece;
    size -= piece;
  }
}

void OutputFile::Append(const uint8_t* data, size_t size) {
  Write(reinterpret_cast<const char*>(data), size);
}

void OutputFile::Overwrite(uint64_t offset, const uint8_t* data, size_t size) {
  LONG high = static_cast<LONG>(offset >> 32);
  if (SetFilePointer(file_.get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) ==
          INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    throw StubError(SystemFailure("cannot write " + path_, GetLastError()));
  }
  Write(reinterpret_cast<const char*>(data), size);
  LONG none = 0;
  SetFilePointer(file_.get(), 0, &none, FILE_END);
}

void OutputFile::Close() {
  if (!CloseHandle(file_.release())) {
    throw StubError(SystemFailure("cannot write " + path_, GetLastError()));
  }
}

void WriteThenReplace(const std::string& path, const std::function<void(OutputFile&)>& fill) {
  const std::string partial = path + ".part";
  try {
    OutputFile file(partial, false);
    fill(file);
    file.Close();
  } catch (...) {
    DeleteFileA(partial.c_str());
    throw;
  }
  if (!MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    const DWORD error = GetLastError();
    DeleteFileA(partial.c_str());
    throw StubError(SystemFailure("cannot write " + path, error));
  }
}

void MakeFoldersFor(const std::string& base, const std::string& relative) {
  for (size_t slash = relative.find_first_of("\\/"); slash != std::string::npos;
       slash = relative.find_first_of("\\/", slash + 1)) {
    const std::string folder = base + "\\" + relative.substr(0, slash);
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      throw StubError(SystemFailure("cannot make the folder " + folder, GetLastError()));
    }
  }
}

}  // namespace qxistub
