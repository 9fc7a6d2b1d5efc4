#include "bundle_crc.h"

#include <algorithm>
#include <cstring>

#include "archive/implode/crc32.h"

namespace qxibundle {
namespace {

// Zeroes the part of piece [start, start + size) that falls in [field, field + length).
void ClearField(uint8_t* piece, uint64_t start, size_t size, uint64_t field, uint64_t length) {
  const uint64_t begin = std::max(start, field);
  const uint64_t end = std::min(start + size, field + length);
  if (begin < end) std::memset(piece + (begin - start), 0, static_cast<size_t>(end - begin));
}

}  // namespace

void BundleCrc::Add(const uint8_t* data, size_t size) {
  // The two fields lie in the headers, within the first kilobytes: only pieces there are
  // copied to clear them.
  constexpr size_t kPiece = 4096;
  const uint64_t fields_end = std::max(checksum_offset_ + 4, security_offset_ + 8);
  while (size > 0) {
    unsigned n = static_cast<unsigned>(std::min(size, kPiece));
    if (length_ < fields_end) {
      uint8_t copy[kPiece];
      std::memcpy(copy, data, n);
      ClearField(copy, length_, n, checksum_offset_, 4);
      ClearField(copy, length_, n, security_offset_, 8);
      running_ = qxi::Crc32Update(copy, &n, &running_);
    } else {
      running_ = qxi::Crc32Update(data, &n, &running_);
    }
    data += n;
    size -= n;
    length_ += n;
  }
}

}  // namespace qxibundle
