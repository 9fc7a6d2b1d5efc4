// Table-driven CRC-32, one lookup per byte.
#include "archive/implode/crc32.h"

#include <array>

namespace qxi {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;  // x^32 + x^26 + ... + 1, bits reflected

// Entry i is the CRC register after shifting the byte i through it.
constexpr std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 1u) ? (value >> 1) ^ kPolynomial : value >> 1;
    }
    table[i] = value;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();

}  // namespace

uint32_t Crc32Update(const void* buffer, const unsigned* size, const uint32_t* crc) {
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  uint32_t value = *crc;
  for (unsigned i = 0; i < *size; ++i) {
    value = kTable[(value ^ bytes[i]) & 0xFFu] ^ (value >> 8);
  }
  return value;
}

}  // namespace qxi
