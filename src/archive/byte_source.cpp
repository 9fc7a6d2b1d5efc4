#include "archive/byte_source.h"

#include <cstring>

#include "archive/ncompress_except.h"

namespace qxi {

void ByteSource::ReadExact(void* buffer, size_t count) {
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    const size_t n = Read(out, count);
    if (n == 0) throw NCompress::Except(NCompress::kErrorFileCorrupt);
    out += n;
    count -= n;
  }
}

size_t MemoryByteSource::Read(void* buffer, size_t count) {
  if (position_ >= size_) return 0;
  const size_t available = static_cast<size_t>(size_ - position_);
  const size_t n = count < available ? count : available;
  std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return n;
}

}  // namespace qxi
