// Table-driven CRC-32, eight bytes per step ("slicing by 8"): the same value as one lookup
// per byte, with eight independent lookups per 8 bytes instead of a chain of eight.
#include "archive/implode/crc32.h"

#include <cstddef>

namespace qxi {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;  // x^32 + x^26 + ... + 1, bits reflected
constexpr int kSlices = 8;

// kTables[0][i] is the CRC register after shifting the byte i through it; kTables[k][i] that
// register shifted on through k more zero bytes, so that the byte k places before the end of
// an 8-byte step is looked up in kTables[k].
uint32_t kTables[kSlices][256];

// Built when the module is loaded, before any call can come, and only read afterwards: its
// 8 KB are not stored in the DLL's image. The empty asm statement keeps the compiler from
// evaluating the builder itself and storing the result after all.
void BuildTables(uint32_t (*tables)[256]) {
  __asm__ volatile("" : : "r"(tables) : "memory");
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) {
      value = (value & 1u) ? (value >> 1) ^ kPolynomial : value >> 1;
    }
    tables[0][i] = value;
  }
  for (int k = 1; k < kSlices; ++k) {
    for (uint32_t i = 0; i < 256; ++i) {
      const uint32_t previous = tables[k - 1][i];
      tables[k][i] = tables[0][previous & 0xFFu] ^ (previous >> 8);
    }
  }
}

const struct TablesBuilder {
  TablesBuilder() { BuildTables(kTables); }
} kBuildTables;

uint32_t LoadLittle32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint32_t OneByte(uint32_t value, uint8_t byte) {
  return kTables[0][(value ^ byte) & 0xFFu] ^ (value >> 8);
}

}  // namespace

uint32_t Crc32Update(const void* buffer, const unsigned* size, const uint32_t* crc) {
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  const uint8_t* end = bytes + *size;
  uint32_t value = *crc;
  while (end - bytes >= kSlices) {
    const uint32_t low = LoadLittle32(bytes) ^ value;
    const uint32_t high = LoadLittle32(bytes + 4);
    value = kTables[7][low & 0xFFu] ^ kTables[6][(low >> 8) & 0xFFu] ^
            kTables[5][(low >> 16) & 0xFFu] ^ kTables[4][low >> 24] ^
            kTables[3][high & 0xFFu] ^ kTables[2][(high >> 8) & 0xFFu] ^
            kTables[1][(high >> 16) & 0xFFu] ^ kTables[0][high >> 24];
    bytes += kSlices;
  }
  while (bytes != end) value = OneByte(value, *bytes++);
  return value;
}

}  // namespace qxi
