// The fixed prefix codes of the implode format, shared by the decoder and the encoder: code
// lengths per symbol as the format defines them, and each symbol's bits as they appear in the
// stream.
#pragma once

#include <cstdint>

namespace qxi {
namespace implode {

// Format notes: a stream is two header bytes (literal mode, dictionary-size code) followed by
// a bit stream read least-significant bit first. Each item starts with a flag bit: 0 for a
// literal, 1 for a match. A match is a length code (16 symbols, some with extra bits) and a
// distance code (64 symbols, the high part) followed by the distance's low bits. The length
// value 517 (symbol 15 with all 8 extra bits set) is the end-of-data code.

constexpr int kLengthSymbols = 16;
constexpr int kDistanceSymbols = 64;
constexpr int kLiteralSymbols = 256;

constexpr unsigned kBinaryLiterals = 0;  ///< literal-mode byte: literals are 8 plain bits
constexpr unsigned kCodedLiterals = 1;   ///< literal-mode byte: literals use the literal code
constexpr unsigned kMinDictionaryBits = 4;  ///< dictionary-size code for 1024 bytes
constexpr unsigned kMaxDictionaryBits = 6;  ///< dictionary-size code for 4096 bytes

constexpr unsigned kMinMatch = 2;       ///< shortest match; its distance has only 2 low bits
constexpr unsigned kMaxMatch = 518;     ///< longest match (length value 516)
constexpr unsigned kEndOfData = 517;    ///< length value that ends the stream
constexpr unsigned kMaxShortDistance = 256;  ///< farthest distance of a 2-byte match
constexpr unsigned kMaxLiteralCodeBits = 13;

/// Bits of each length symbol's code.
inline constexpr uint8_t kLengthCodeBits[kLengthSymbols] = {3, 2, 3, 3, 4, 4, 4, 5,
                                                            5, 5, 5, 6, 6, 6, 7, 7};
/// Extra bits that follow each length symbol.
inline constexpr uint8_t kLengthExtraBits[kLengthSymbols] = {0, 0, 0, 0, 0, 0, 0, 0,
                                                             1, 2, 3, 4, 5, 6, 7, 8};
/// Smallest length value of each length symbol.
inline constexpr uint16_t kLengthBase[kLengthSymbols] = {0,  1,  2,  3,  4,  5,   6,   7,
                                                         8, 10, 14, 22, 38, 70, 134, 262};

/// Bits of each distance symbol's code (symbol = high part of distance - 1).
inline constexpr uint8_t kDistanceCodeBits[kDistanceSymbols] = {
    2, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
    8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};

/// Bits of each literal byte's code, in literal mode 1 (one row per high hex digit).
inline constexpr uint8_t kLiteralCodeBits[kLiteralSymbols] = {
    11, 12, 12, 12, 12, 12, 12, 12, 12, 8, 7, 12, 12, 7, 12, 12,   // 0x
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 13, 12, 12, 12, 12, 12,  // 1x
    4, 10, 8, 12, 10, 12, 10, 8, 7, 7, 8, 9, 7, 6, 7, 8,             // 2x
    7, 6, 7, 7, 7, 7, 8, 7, 7, 8, 8, 12, 11, 7, 9, 11,               // 3x
    12, 6, 7, 6, 6, 5, 7, 8, 8, 6, 11, 9, 6, 7, 6, 6,                // 4x
    7, 11, 6, 6, 6, 7, 9, 8, 9, 9, 11, 8, 11, 9, 12, 8,              // 5x
    12, 5, 6, 6, 6, 5, 6, 6, 6, 5, 11, 7, 5, 6, 5, 5,                // 6x
    6, 10, 5, 5, 5, 5, 8, 7, 8, 8, 10, 11, 11, 12, 12, 12,           // 7x
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // 8x
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // 9x
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // Ax
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  // Bx
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  // Cx
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  // Dx
    13, 12, 13, 13, 13, 12, 13, 13, 13, 12, 13, 13, 13, 13, 12, 13,  // Ex
    13, 13, 12, 12, 12, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  // Fx
};

/// Each symbol's code in stream order: bit 0 is the first bit sent.
template <int N>
struct StreamCodes {
  uint16_t bits[N];
};

/// Format notes: codes are canonical. Symbols are taken by code length, shorter first, and by
/// value within one length; the first gets all zeros, each next one the previous code plus
/// one, shifted left when the length grows. The stream carries every code bit inverted, the
/// code's first (most significant) bit first, so the stream-order value is the inverted code
/// with its bits reversed.
template <int N>
constexpr StreamCodes<N> MakeStreamCodes(const uint8_t (&lengths)[N]) {
  StreamCodes<N> out{};
  unsigned code = 0;
  unsigned previous_length = 0;
  bool first = true;
  for (unsigned length = 1; length <= 16; ++length) {
    for (int symbol = 0; symbol < N; ++symbol) {
      if (lengths[symbol] != length) continue;
      if (first) {
        first = false;
      } else {
        code = (code + 1) << (length - previous_length);
      }
      previous_length = length;
      const unsigned inverted = ~code & ((1u << length) - 1);
      unsigned reversed = 0;
      for (unsigned bit = 0; bit < length; ++bit) {
        reversed |= ((inverted >> bit) & 1u) << (length - 1 - bit);
      }
      out.bits[symbol] = static_cast<uint16_t>(reversed);
    }
  }
  return out;
}

inline constexpr StreamCodes<kLengthSymbols> kLengthCodes = MakeStreamCodes(kLengthCodeBits);
inline constexpr StreamCodes<kDistanceSymbols> kDistanceCodes =
    MakeStreamCodes(kDistanceCodeBits);
inline constexpr StreamCodes<kLiteralSymbols> kLiteralCodes = MakeStreamCodes(kLiteralCodeBits);

}  // namespace implode
}  // namespace qxi
