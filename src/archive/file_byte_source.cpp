#include "archive/file_byte_source.h"

#include <cstring>

namespace qxi {
namespace {

constexpr uint32_t kErrorFileCorrupt = 1392;

}  // namespace

FileByteSource::FileByteSource(File& file)
    : file_(file), buffer_(new char[kBufferSize]), buffer_start_(file.Tell()) {}

size_t FileByteSource::Read(void* buffer, size_t count) {
  if (next_ == filled_) {
    // The file's position is always at the end of what the buffer holds.
    buffer_start_ += filled_;
    next_ = filled_ = 0;
    filled_ = file_.Read(buffer_.get(), kBufferSize);
    if (filled_ == 0) return 0;
  }
  const uint32_t available = filled_ - next_;
  const uint32_t n = count < available ? static_cast<uint32_t>(count) : available;
  std::memcpy(buffer, buffer_.get() + next_, n);
  next_ += n;
  return n;
}

void FileByteSource::ReadExact(void* buffer, size_t count) {
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    const size_t n = Read(out, count);
    if (n == 0) throw File::Except(kErrorFileCorrupt);
    out += n;
    count -= n;
  }
}

void FileByteSource::Seek(uint64_t offset) {
  // A position inside what the buffer holds (the next entry, mostly) needs no system call.
  if (offset >= buffer_start_ && offset <= buffer_start_ + filled_) {
    next_ = static_cast<uint32_t>(offset - buffer_start_);
    return;
  }
  file_.Seek(static_cast<int32_t>(offset), FILE_BEGIN);
  buffer_start_ = offset;
  next_ = filled_ = 0;
}

}  // namespace qxi
