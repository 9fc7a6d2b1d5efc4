// The format's fixed codes: known bit patterns, code-length counts, and completeness.
#include "archive/implode/implode_codes.h"

#include <gtest/gtest.h>

#include <map>

namespace qxi {
namespace implode {
namespace {

// Sum of 2^(max - length) over all symbols equals 2^max exactly for a complete prefix code.
template <int N>
uint64_t KraftSum(const uint8_t (&lengths)[N]) {
  uint64_t sum = 0;
  for (int i = 0; i < N; ++i) sum += uint64_t{1} << (16 - lengths[i]);
  return sum;
}

TEST(ImplodeCodes, LengthCodesInStreamOrder) {
  EXPECT_EQ(kLengthCodes.bits[1], 0b11);   // bits 1 1
  EXPECT_EQ(kLengthCodes.bits[0], 0b101);  // bits 1 0 1
  EXPECT_EQ(kLengthCodes.bits[2], 0b001);  // bits 1 0 0: the code 011 inverted
  EXPECT_EQ(kLengthCodes.bits[15], 0);     // seven 0 bits
  EXPECT_EQ(kLengthCodes.bits[14], 0b1000000);
}

TEST(ImplodeCodes, DistanceAndLiteralCodesInStreamOrder) {
  EXPECT_EQ(kDistanceCodes.bits[0], 0b11);
  EXPECT_EQ(kDistanceCodes.bits[1], 0b1101);   // code 0100 inverted is 1011, first bit lowest
  EXPECT_EQ(kDistanceCodes.bits[63], 0);
  EXPECT_EQ(kLiteralCodes.bits[0x20], 0xF);    // the only 4-bit literal: code 0000
  EXPECT_EQ(kLiteralCodes.bits[0xFF], 0);      // the last 13-bit literal: all ones inverted
}

TEST(ImplodeCodes, EveryTableIsComplete) {
  EXPECT_EQ(KraftSum(kLengthCodeBits), uint64_t{1} << 16);
  EXPECT_EQ(KraftSum(kDistanceCodeBits), uint64_t{1} << 16);
  EXPECT_EQ(KraftSum(kLiteralCodeBits), uint64_t{1} << 16);
}

TEST(ImplodeCodes, LiteralLengthCounts) {
  std::map<int, int> counts;
  for (uint8_t length : kLiteralCodeBits) ++counts[length];
  EXPECT_EQ(counts, (std::map<int, int>{{4, 1}, {5, 11}, {6, 20}, {7, 21}, {8, 16}, {9, 7},
                                        {10, 5}, {11, 10}, {12, 91}, {13, 74}}));
}

TEST(ImplodeCodes, StreamCodesArePrefixFree) {
  for (int a = 0; a < kLiteralSymbols; ++a) {
    for (int b = 0; b < kLiteralSymbols; ++b) {
      if (a == b || kLiteralCodeBits[a] > kLiteralCodeBits[b]) continue;
      const unsigned mask = (1u << kLiteralCodeBits[a]) - 1;
      EXPECT_NE(kLiteralCodes.bits[a], kLiteralCodes.bits[b] & mask) << a << " " << b;
    }
  }
}

}  // namespace
}  // namespace implode
}  // namespace qxi
