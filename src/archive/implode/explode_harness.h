// Test helpers for the implode codec: a hand assembler of streams, item by item, and a harness
// that runs Explode over a byte vector while recording every read and write call.
#pragma once

#include <cstdint>
#include <vector>

namespace qxi {
namespace testing_support {

/// Builds a stream bit by bit with the format's codes, independent of the encoder.
class StreamAssembler {
 public:
  /// Starts a stream with the two header bytes.
  StreamAssembler(unsigned literal_mode, unsigned dictionary_bits);
  /// Appends a literal (8 plain bits in mode 0, its literal code in mode 1).
  void Literal(uint8_t byte);
  /// Appends a match; the caller keeps length in 2..518 and the distance encodable.
  void Match(unsigned length, unsigned distance);
  /// Appends the end-of-data code.
  void End();
  /// Appends raw bits, first bit lowest.
  void Bits(uint32_t value, unsigned count);
  /// Total bits appended after the header.
  uint64_t bit_count() const { return bit_count_; }
  /// The stream, the last byte filled up with 0 bits.
  std::vector<uint8_t> Bytes() const;

 private:
  unsigned literal_mode_;
  unsigned dictionary_bits_;
  std::vector<uint8_t> bytes_;
  uint64_t bit_count_ = 0;
};

/// One call of the read function: the capacity it was given and the count it returned.
struct ReadCall {
  unsigned asked;
  unsigned returned;
  bool operator==(const ReadCall& o) const { return asked == o.asked && returned == o.returned; }
};

/// What one Explode run did.
struct ExplodeRun {
  unsigned result = 0;
  std::vector<uint8_t> output;        // every written byte, in order
  std::vector<unsigned> writes;       // the size of each write call
  std::vector<ReadCall> reads;        // every read call
};

/// Runs Explode on input, handing out at most max_chunk bytes per read (first_chunk on the
/// first read, when not 0), with a work area `misalign` bytes past an aligned allocation.
ExplodeRun RunExplode(const std::vector<uint8_t>& input, unsigned max_chunk = 2048,
                      unsigned misalign = 0, unsigned first_chunk = 0);

}  // namespace testing_support
}  // namespace qxi
