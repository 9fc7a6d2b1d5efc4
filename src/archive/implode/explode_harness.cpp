// Test helpers for the implode codec: stream assembler and recording Explode harness.
#include "archive/implode/explode_harness.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "archive/implode/explode.h"
#include "archive/implode/implode_codes.h"

namespace qxi {
namespace testing_support {

using namespace implode;

StreamAssembler::StreamAssembler(unsigned literal_mode, unsigned dictionary_bits)
    : literal_mode_(literal_mode), dictionary_bits_(dictionary_bits) {
  bytes_.push_back(static_cast<uint8_t>(literal_mode));
  bytes_.push_back(static_cast<uint8_t>(dictionary_bits));
}

void StreamAssembler::Bits(uint32_t value, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    if (bit_count_ % 8 == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<uint8_t>(((value >> i) & 1u) << (bit_count_ % 8));
    ++bit_count_;
  }
}

void StreamAssembler::Literal(uint8_t byte) {
  Bits(0, 1);
  if (literal_mode_ == kBinaryLiterals) {
    Bits(byte, 8);
  } else {
    Bits(kLiteralCodes.bits[byte], kLiteralCodeBits[byte]);
  }
}

void StreamAssembler::Match(unsigned length, unsigned distance) {
  const unsigned value = length - 2;
  unsigned symbol = kLengthSymbols - 1;
  while (kLengthBase[symbol] > value) --symbol;
  Bits(1, 1);
  Bits(kLengthCodes.bits[symbol], kLengthCodeBits[symbol]);
  Bits(value - kLengthBase[symbol], kLengthExtraBits[symbol]);
  const unsigned low_bits = length == 2 ? 2 : dictionary_bits_;
  const unsigned d = distance - 1;
  const unsigned high = d >> low_bits;
  Bits(kDistanceCodes.bits[high], kDistanceCodeBits[high]);
  Bits(d & ((1u << low_bits) - 1), low_bits);
}

void StreamAssembler::End() {
  Bits(1, 1);
  Bits(kLengthCodes.bits[15], kLengthCodeBits[15]);
  Bits(0xFF, 8);
}

std::vector<uint8_t> StreamAssembler::Bytes() const { return bytes_; }

namespace {

struct Recorder {
  const std::vector<uint8_t>* input;
  size_t position;
  unsigned max_chunk;
  unsigned first_chunk;
  ExplodeRun* run;
};

unsigned Read(char* buffer, unsigned* size, void* param) {
  Recorder& r = *static_cast<Recorder*>(param);
  const size_t left = r.input->size() - r.position;
  const unsigned chunk = r.run->reads.empty() && r.first_chunk != 0 ? r.first_chunk : r.max_chunk;
  const unsigned count =
      static_cast<unsigned>(std::min<size_t>({left, *size, static_cast<size_t>(chunk)}));
  if (count != 0) std::memcpy(buffer, r.input->data() + r.position, count);
  r.position += count;
  r.run->reads.push_back({*size, count});
  return count;
}

void Write(char* buffer, unsigned* size, void* param) {
  Recorder& r = *static_cast<Recorder*>(param);
  r.run->writes.push_back(*size);
  r.run->output.insert(r.run->output.end(), buffer, buffer + *size);
}

}  // namespace

ExplodeRun RunExplode(const std::vector<uint8_t>& input, unsigned max_chunk, unsigned misalign,
                      unsigned first_chunk) {
  ExplodeRun run;
  Recorder recorder{&input, 0, max_chunk, first_chunk, &run};
  // Exactly the work area's size past the offset, so a sanitizer sees any stray access.
  std::unique_ptr<char[]> area(new char[kExplodeWorkAreaSize + misalign]);
  std::memset(area.get(), 0xA5, kExplodeWorkAreaSize + misalign);
  run.result = Explode(Read, Write, area.get() + misalign, &recorder);
  return run;
}

}  // namespace testing_support
}  // namespace qxi
