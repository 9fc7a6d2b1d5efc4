// The bundle's checksum: CRC-32 over its bytes, where the two header fields that signing a
// program rewrites (the image checksum and the certificate-table entry) count as zeros.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pe_image.h"

namespace qxibundle {

class BundleCrc {
 public:
  explicit BundleCrc(const PeLayout& layout)
      : checksum_offset_(layout.checksum_offset), security_offset_(layout.security_entry_offset) {}

  /// Adds the next `size` bytes of the file, in order from its start.
  void Add(const uint8_t* data, size_t size);
  /// The CRC-32 of everything added so far.
  uint32_t Value() const { return ~running_; }

 private:
  uint64_t checksum_offset_;
  uint64_t security_offset_;
  uint64_t length_ = 0;
  uint32_t running_ = 0xFFFFFFFFu;
};

}  // namespace qxibundle
