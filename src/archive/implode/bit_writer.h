// Bit output of the implode encoder: values are appended least-significant bit first.
#pragma once

#include <cstdint>
#include <vector>

namespace qxi {
namespace implode {

/// Appends bits to a byte vector, the first bit in the lowest position of each byte.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>* out) : out_(out) {}

  /// Appends the low `count` bits (at most 32) of value.
  void Put(uint32_t value, unsigned count) {
    pending_ |= static_cast<uint64_t>(value) << pending_count_;
    pending_count_ += count;
    while (pending_count_ >= 8) {
      out_->push_back(static_cast<uint8_t>(pending_));
      pending_ >>= 8;
      pending_count_ -= 8;
    }
  }

  /// Writes out a partly filled last byte, its unused high bits 0.
  void Finish() {
    if (pending_count_ != 0) out_->push_back(static_cast<uint8_t>(pending_));
    pending_ = 0;
    pending_count_ = 0;
  }

 private:
  std::vector<uint8_t>* out_;
  uint64_t pending_ = 0;        // bits not yet written, next bit lowest
  unsigned pending_count_ = 0;  // how many (below 8 between calls)
};

}  // namespace implode
}  // namespace qxi
