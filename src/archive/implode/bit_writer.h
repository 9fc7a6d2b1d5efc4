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
    // Four bytes at a time: a byte loop's exit would be mispredicted about once per item.
    if (pending_count_ >= 32) {
      const uint8_t bytes[4] = {static_cast<uint8_t>(pending_), static_cast<uint8_t>(pending_ >> 8),
                                static_cast<uint8_t>(pending_ >> 16),
                                static_cast<uint8_t>(pending_ >> 24)};
      out_->insert(out_->end(), bytes, bytes + 4);
      pending_ >>= 32;
      pending_count_ -= 32;
    }
  }

  /// Writes out the bits still pending, a partly filled last byte with its unused high bits 0.
  void Finish() {
    for (; pending_count_ > 0; pending_count_ -= pending_count_ < 8 ? pending_count_ : 8) {
      out_->push_back(static_cast<uint8_t>(pending_));
      pending_ >>= 8;
    }
    pending_ = 0;
  }

 private:
  std::vector<uint8_t>* out_;
  uint64_t pending_ = 0;        // bits not yet written, next bit lowest
  unsigned pending_count_ = 0;  // how many (below 32 between calls)
};

}  // namespace implode
}  // namespace qxi
