#include "archive_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace qxzpack {
namespace {

[[noreturn]] void RaiseErrno(const std::string& path, const char* what) {
  throw std::runtime_error(path + ": " + what + ": " + std::strerror(errno));
}

// 64-bit positions on both C libraries.
int SeekTo(std::FILE* file, uint64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<long long>(offset), origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

int64_t TellOf(std::FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

}  // namespace

UniqueFile OpenFile(const std::string& path, const char* mode) {
  UniqueFile file(std::fopen(path.c_str(), mode));
  if (!file) RaiseErrno(path, "cannot open");
  return file;
}

void WriteAll(std::FILE* file, const void* data, size_t size, const std::string& path) {
  if (size > 0 && std::fwrite(data, 1, size, file) != size) RaiseErrno(path, "cannot write");
}

void CloseChecked(UniqueFile* file, const std::string& path) {
  const bool flushed = std::fflush(file->get()) == 0;
  const bool closed = std::fclose(file->release()) == 0;
  if (!flushed || !closed) RaiseErrno(path, "cannot write");
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  UniqueFile file = OpenFile(path, "rb");
  std::vector<uint8_t> data;
  uint8_t block[65536];
  for (;;) {
    const size_t n = std::fread(block, 1, sizeof block, file.get());
    data.insert(data.end(), block, block + n);
    if (n < sizeof block) break;
  }
  if (std::ferror(file.get())) RaiseErrno(path, "cannot read");
  return data;
}

ArchiveFileSource::ArchiveFileSource(const std::string& path)
    : path_(path), file_(OpenFile(path, "rb")) {
  if (SeekTo(file_.get(), 0, SEEK_END) != 0) RaiseErrno(path_, "cannot seek");
  const int64_t size = TellOf(file_.get());
  if (size < 0 || SeekTo(file_.get(), 0, SEEK_SET) != 0) RaiseErrno(path_, "cannot seek");
  size_ = static_cast<uint64_t>(size);
}

size_t ArchiveFileSource::Read(void* buffer, size_t count) {
  if (position_ >= size_ || count == 0) return 0;
  const size_t n = std::fread(buffer, 1, count, file_.get());
  if (n < count && std::ferror(file_.get())) RaiseErrno(path_, "cannot read");
  position_ += n;
  return n;
}

void ArchiveFileSource::Seek(uint64_t offset) {
  if (SeekTo(file_.get(), offset, SEEK_SET) != 0) RaiseErrno(path_, "cannot seek");
  position_ = offset;
}

}  // namespace qxzpack
