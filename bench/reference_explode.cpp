// The benchmarks' second implode decoder, in the design the format was first decoded with: a
// bit buffer refilled a byte at a time, a 256-entry table per code indexed by the next 8 bits,
// and three second-level tables for literal codes longer than 8 bits. Every table is built
// from the code lengths at the start of each call. Nothing here is shared with Explode but
// the format's code lengths.
#include "reference_explode.h"

#include <cstdint>
#include <cstring>

#include "archive/implode/implode_codes.h"

namespace qxi {
namespace bench {
namespace {

using namespace implode;

constexpr unsigned kInBuffer = 2048;
constexpr unsigned kEndItem = 0x305;     // 0x100 + the end-of-data length value
constexpr unsigned kFailedItem = 0x306;  // the input ran out

struct RefState {
  unsigned literal_mode;
  unsigned dict_bits;
  unsigned dict_mask;
  unsigned bit_buff;     // next bit lowest; at least 8 valid bits
  unsigned extra_bits;   // valid bits beyond those 8
  unsigned in_pos;
  unsigned in_bytes;
  unsigned out_pos;
  ExplodeReadFunction read;
  ExplodeWriteFunction write;
  void* param;
  uint8_t out_buff[2 * 4096 + kMaxMatch];
  uint8_t in_buff[kInBuffer];
  uint8_t length_codes[256];    // next 8 bits -> length symbol
  uint8_t dist_codes[256];      // next 8 bits -> distance symbol
  uint8_t lit_main[256];        // next 8 bits -> literal, or 0xFF: longer code
  uint8_t lit_by4[256];         // long code, low 6 bits not 0: bits 4..11 -> literal
  uint8_t lit_by6[128];         // long code, low 6 bits 0: bits 6..12 -> literal
  uint8_t lit_by8[256];         // long code, low 8 bits 0: bits 8..15 -> literal
  uint8_t lit_bits[256];        // bits still to consume after the table that found it
  uint16_t lit_codes[256];      // stream-order codes
};

static_assert(sizeof(RefState) <= kReferenceWorkAreaSize, "work area too small");

// Canonical codes from lengths: by length then symbol, counting up; the stream carries each
// code inverted, first bit first, so the bit-buffer value is the inverted code reversed.
template <int N>
void MakeCodes(const uint8_t (&lengths)[N], uint16_t* out) {
  unsigned code = 0;
  unsigned last_length = 0;
  bool first = true;
  for (unsigned length = 1; length <= 16; ++length) {
    for (int symbol = 0; symbol < N; ++symbol) {
      if (lengths[symbol] != length) continue;
      code = first ? 0 : (code + 1) << (length - last_length);
      first = false;
      last_length = length;
      unsigned stream = 0;
      for (unsigned bit = 0; bit < length; ++bit) {
        if (((code >> bit) & 1u) == 0) stream |= 1u << (length - 1 - bit);
      }
      out[symbol] = static_cast<uint16_t>(stream);
    }
  }
}

void Spread(uint8_t* table, unsigned size, unsigned start, unsigned bits, unsigned value) {
  for (unsigned i = start; i < size; i += 1u << bits) table[i] = static_cast<uint8_t>(value);
}

void BuildTables(RefState& s) {
  uint16_t codes[kDistanceSymbols];
  MakeCodes(kLengthCodeBits, codes);
  for (int i = 0; i < kLengthSymbols; ++i) Spread(s.length_codes, 256, codes[i], kLengthCodeBits[i], i);
  MakeCodes(kDistanceCodeBits, codes);
  for (int i = 0; i < kDistanceSymbols; ++i) {
    Spread(s.dist_codes, 256, codes[i], kDistanceCodeBits[i], i);
  }
  if (s.literal_mode != kCodedLiterals) return;
  MakeCodes(kLiteralCodeBits, s.lit_codes);
  for (int i = 0; i < kLiteralSymbols; ++i) {
    const unsigned code = s.lit_codes[i];
    unsigned bits = kLiteralCodeBits[i];
    if (bits <= 8) {
      Spread(s.lit_main, 256, code, bits, i);
    } else if ((code & 0xFF) != 0) {
      s.lit_main[code & 0xFF] = 0xFF;
      if ((code & 0x3F) != 0) {
        bits -= 4;
        Spread(s.lit_by4, 256, code >> 4, bits, i);
      } else {
        bits -= 6;
        Spread(s.lit_by6, 128, code >> 6, bits, i);
      }
    } else {
      bits -= 8;
      Spread(s.lit_by8, 256, code >> 8, bits, i);
    }
    s.lit_bits[i] = static_cast<uint8_t>(bits);
  }
}

// Drops n bits (n <= 8), shifting in the next byte when fewer than 8 would remain. True when
// the input ran out.
bool WasteBits(RefState& s, unsigned n) {
  if (n <= s.extra_bits) {
    s.extra_bits -= n;
    s.bit_buff >>= n;
    return false;
  }
  s.bit_buff >>= s.extra_bits;
  if (s.in_pos == s.in_bytes) {
    unsigned size = kInBuffer;
    s.in_bytes = s.read(reinterpret_cast<char*>(s.in_buff), &size, s.param);
    if (s.in_bytes > kInBuffer) s.in_bytes = kInBuffer;
    if (s.in_bytes == 0) return true;
    s.in_pos = 0;
  }
  s.bit_buff |= static_cast<unsigned>(s.in_buff[s.in_pos++]) << 8;
  s.bit_buff >>= n - s.extra_bits;
  s.extra_bits = s.extra_bits + 8 - n;
  return false;
}

// A literal (0 to 255), 0x100 + a length value, or kFailedItem.
unsigned DecodeItem(RefState& s) {
  if (s.bit_buff & 1) {
    if (WasteBits(s, 1)) return kFailedItem;
    const unsigned symbol = s.length_codes[s.bit_buff & 0xFF];
    if (WasteBits(s, kLengthCodeBits[symbol])) return kFailedItem;
    unsigned value = kLengthBase[symbol];
    const unsigned extra = kLengthExtraBits[symbol];
    if (extra != 0) {
      value += s.bit_buff & ((1u << extra) - 1);
      if (WasteBits(s, extra) && value != kEndOfData) return kFailedItem;
    }
    return 0x100 + value;
  }
  if (WasteBits(s, 1)) return kFailedItem;
  if (s.literal_mode == kBinaryLiterals) {
    const unsigned byte = s.bit_buff & 0xFF;
    return WasteBits(s, 8) ? kFailedItem : byte;
  }
  unsigned value;
  if (s.bit_buff & 0xFF) {
    value = s.lit_main[s.bit_buff & 0xFF];
    if (value == 0xFF) {
      if (s.bit_buff & 0x3F) {
        if (WasteBits(s, 4)) return kFailedItem;
        value = s.lit_by4[s.bit_buff & 0xFF];
      } else {
        if (WasteBits(s, 6)) return kFailedItem;
        value = s.lit_by6[s.bit_buff & 0x7F];
      }
    }
  } else {
    if (WasteBits(s, 8)) return kFailedItem;
    value = s.lit_by8[s.bit_buff & 0xFF];
  }
  return WasteBits(s, s.lit_bits[value]) ? kFailedItem : value;
}

// The distance (1 to 4096) of a match of `length` bytes, or 0 when the input ran out.
unsigned DecodeDistance(RefState& s, unsigned length) {
  const unsigned high = s.dist_codes[s.bit_buff & 0xFF];
  if (WasteBits(s, kDistanceCodeBits[high])) return 0;
  unsigned distance;
  if (length == kMinMatch) {
    distance = (high << 2) | (s.bit_buff & 3);
    if (WasteBits(s, 2)) return 0;
  } else {
    distance = (high << s.dict_bits) | (s.bit_buff & s.dict_mask);
    if (WasteBits(s, s.dict_bits)) return 0;
  }
  return distance + 1;
}

}  // namespace

unsigned ReferenceExplode(ExplodeReadFunction read, ExplodeWriteFunction write,
                          char* work_area, void* param) {
  RefState& s = *reinterpret_cast<RefState*>(work_area);
  std::memset(&s, 0, sizeof s);
  s.read = read;
  s.write = write;
  s.param = param;
  unsigned size = kInBuffer;
  s.in_bytes = read(reinterpret_cast<char*>(s.in_buff), &size, param);
  if (s.in_bytes > kInBuffer) s.in_bytes = kInBuffer;
  if (s.in_bytes <= 4) return kExplodeInputTooShort;
  s.literal_mode = s.in_buff[0];
  s.dict_bits = s.in_buff[1];
  s.bit_buff = s.in_buff[2];
  s.in_pos = 3;
  if (s.dict_bits < kMinDictionaryBits || s.dict_bits > kMaxDictionaryBits) {
    return kExplodeBadDictionary;
  }
  if (s.literal_mode != kBinaryLiterals && s.literal_mode != kCodedLiterals) {
    return kExplodeBadLiteralMode;
  }
  s.dict_mask = (1u << s.dict_bits) - 1;
  BuildTables(s);
  s.out_pos = 4096;

  unsigned result = kExplodeOk;
  unsigned item;
  while ((item = DecodeItem(s)) < kEndItem) {
    if (item >= 0x100) {
      unsigned length = item - 0x100 + kMinMatch;
      const unsigned distance = DecodeDistance(s, length);
      if (distance == 0) {
        result = kExplodeTruncated;
        break;
      }
      uint8_t* to = s.out_buff + s.out_pos;
      const uint8_t* from = to - distance;
      s.out_pos += length;
      while (length-- > 0) *to++ = *from++;
    } else {
      s.out_buff[s.out_pos++] = static_cast<uint8_t>(item);
    }
    if (s.out_pos >= 2 * 4096) {
      size = 4096;
      write(reinterpret_cast<char*>(s.out_buff + 4096), &size, param);
      std::memmove(s.out_buff, s.out_buff + 4096, s.out_pos - 4096);
      s.out_pos -= 4096;
    }
  }
  if (item == kFailedItem) result = kExplodeTruncated;
  size = s.out_pos - 4096;
  write(reinterpret_cast<char*>(s.out_buff + 4096), &size, param);
  return result;
}

}  // namespace bench
}  // namespace qxi
