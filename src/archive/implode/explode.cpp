// Explode: decodes an implode stream with table lookups. A byte-exact reader handles the
// edges of each input block; between them a fast loop reads the same bits 64 at a time.
#include "archive/implode/explode.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "archive/implode/implode_codes.h"

namespace qxi {
namespace {

using namespace implode;

constexpr unsigned kInputSize = 2048;   // bytes asked of each read
constexpr unsigned kBlockSize = 4096;   // history kept, and the size of each full write
constexpr unsigned kHeaderBytes = 3;    // literal mode, dictionary code, first 8 stream bits
constexpr unsigned kCopySlack = 32;     // CopyMatch stores up to 31 bytes past a match
constexpr unsigned kWindowSize = 2 * kBlockSize + kMaxMatch + kCopySlack;
constexpr unsigned kFastInputMargin = 8;  // input bytes one 64-bit refill needs
constexpr uint8_t kLongLiteral = 0xFF;    // main literal table: code longer than 8 bits

// DecodeItemSlow results: a literal byte, kMatchItem + length value, or kItemFailed.
constexpr unsigned kMatchItem = 256;
constexpr unsigned kItemFailed = kMatchItem + kEndOfData + 1;

// Everything one Explode call needs, placed in the caller's work area.
struct State {
  // [0, 4096): history, zero before the first output byte. [4096, out_pos): output not yet
  // written. Room behind 8192 for one match that crosses the mark, plus the copy slack.
  uint8_t window[kWindowSize];
  uint8_t input[kInputSize];     // the last block read
  uint8_t literal_table[256];    // next 8 bits -> literal, or kLongLiteral
  uint8_t literal_table4[256];   // long code with low 6 bits not all 0: bits 4..11 -> literal
  uint8_t literal_table6[128];   // long code, low 6 bits 0, low 8 not: bits 6..12 -> literal
  uint8_t literal_table8[256];   // long code with low 8 bits 0: bits 8..15 -> literal
  uint32_t bit_buffer;   // unconsumed bits, next bit lowest; at least 8 of them are valid
  unsigned extra_bits;   // valid bits in bit_buffer beyond those 8 (0 to 7)
  unsigned in_pos;       // next unread byte of input
  unsigned in_bytes;     // bytes in input
  unsigned out_pos;      // window index of the next output byte
  unsigned literal_mode;     // kBinaryLiterals or kCodedLiterals
  unsigned dictionary_bits;  // k: low distance bits of matches longer than 2
  unsigned dictionary_mask;  // 2^k - 1
  ExplodeReadFunction read;
  ExplodeWriteFunction write;
  void* param;
};

static_assert(sizeof(State) + alignof(State) - 1 <= kExplodeWorkAreaSize,
              "the decoder state must fit the caller's work area at any alignment");

// Format notes: a symbol's stream bits, read from the bit buffer with the first bit lowest,
// equal its stream-order code in the low bits. Every index whose low `length` bits equal the
// code therefore decodes to the symbol: step through the table by 2^length.
void Fill(uint8_t* table, unsigned table_size, unsigned first, unsigned length, unsigned symbol) {
  for (unsigned i = first; i < table_size; i += 1u << length) {
    table[i] = static_cast<uint8_t>(symbol);
  }
}

// What the next 8 stream bits say about a length or distance code: everything one lookup
// needs, so that decoding a match waits on one table read per code rather than two.
struct LengthEntry {
  uint16_t base;       // smallest length value of the symbol
  uint8_t code_bits;   // bits of the symbol's code
  uint8_t extra_bits;  // bits that follow it, added to base
};
struct DistanceEntry {
  uint8_t high;       // high part of distance - 1
  uint8_t code_bits;  // bits of its code
};

template <typename Entry, int N, typename Make>
constexpr void FillEntries(Entry (&table)[256], const StreamCodes<N>& codes,
                           const uint8_t (&lengths)[N], Make make) {
  for (int symbol = 0; symbol < N; ++symbol) {
    for (unsigned i = codes.bits[symbol]; i < 256; i += 1u << lengths[symbol]) {
      table[i] = make(symbol);
    }
  }
}

struct MatchTables {
  LengthEntry length[256];
  DistanceEntry distance[256];
};

constexpr MatchTables MakeMatchTables() {
  MatchTables t{};
  FillEntries(t.length, kLengthCodes, kLengthCodeBits, [](int symbol) {
    return LengthEntry{kLengthBase[symbol], kLengthCodeBits[symbol], kLengthExtraBits[symbol]};
  });
  FillEntries(t.distance, kDistanceCodes, kDistanceCodeBits, [](int symbol) {
    return DistanceEntry{static_cast<uint8_t>(symbol), kDistanceCodeBits[symbol]};
  });
  return t;
}

// The length and distance codes are the same in every stream, so their tables are built once,
// by the compiler; only the literal tables, used in one mode, are built in the work area.
constexpr MatchTables kMatchTables = MakeMatchTables();

// Format notes: no literal code is longer than 13 bits, so the next 13 bits always decide a
// literal. The fast loop, which always holds that many, decodes one with a single lookup in
// this table (the byte in the low 8 bits, the code's length above them) instead of branching
// on the code's length; the byte-exact reader, which holds only 8, uses the work area's tables.
constexpr unsigned kLiteralIndexMask = (1u << kMaxLiteralCodeBits) - 1;
struct LiteralDecodeTable {
  uint16_t entry[1u << kMaxLiteralCodeBits];
};

// The table is built when the module is loaded, before any call can come, and only read
// afterwards. It is built rather than constant so that its 16 KB are not stored in the DLL's
// image; the empty asm statement keeps the compiler from evaluating the builder itself and
// storing its result after all.
LiteralDecodeTable kLiteralDecode;

void BuildLiteralDecodeTable(LiteralDecodeTable* table) {
  __asm__ volatile("" : : "r"(table) : "memory");
  for (unsigned symbol = 0; symbol < kLiteralSymbols; ++symbol) {
    const unsigned length = kLiteralCodeBits[symbol];
    for (unsigned i = kLiteralCodes.bits[symbol]; i <= kLiteralIndexMask; i += 1u << length) {
      table->entry[i] = static_cast<uint16_t>(symbol | length << 8);
    }
  }
}

const struct LiteralDecodeTableBuilder {
  LiteralDecodeTableBuilder() { BuildLiteralDecodeTable(&kLiteralDecode); }
} kBuildLiteralDecodeTable;

// Format notes: literal codes run to 13 bits. Those of 8 bits or fewer sit in the main table;
// a longer code marks its low 8 bits there and continues in one of three second-level tables,
// chosen by its low bits so that each table sees only codes that differ in the bits it indexes.
void BuildLiteralTables(State& s) {
  std::memset(s.literal_table, 0, sizeof s.literal_table);
  std::memset(s.literal_table4, 0, sizeof s.literal_table4);
  std::memset(s.literal_table6, 0, sizeof s.literal_table6);
  std::memset(s.literal_table8, 0, sizeof s.literal_table8);
  for (unsigned i = 0; i < kLiteralSymbols; ++i) {
    const unsigned code = kLiteralCodes.bits[i];
    const unsigned length = kLiteralCodeBits[i];
    if (length <= 8) {
      Fill(s.literal_table, 256, code, length, i);
    } else if ((code & 0xFF) != 0) {
      s.literal_table[code & 0xFF] = kLongLiteral;
      if ((code & 0x3F) != 0) {
        Fill(s.literal_table4, 256, code >> 4, length - 4, i);
      } else {
        Fill(s.literal_table6, 128, code >> 6, length - 6, i);
      }
    } else {
      Fill(s.literal_table8, 256, code >> 8, length - 8, i);
    }
  }
}

// Consumes n (at most 8) bits, taking one more input byte when fewer than 8 would remain and
// reading the next block when the input is used up. False when that read gives nothing.
bool WasteBits(State& s, unsigned n) {
  if (n <= s.extra_bits) {
    s.extra_bits -= n;
    s.bit_buffer >>= n;
    return true;
  }
  s.bit_buffer >>= s.extra_bits;
  if (s.in_pos == s.in_bytes) {
    unsigned size = kInputSize;
    const unsigned got = s.read(reinterpret_cast<char*>(s.input), &size, s.param);
    s.in_bytes = got < kInputSize ? got : kInputSize;
    s.in_pos = 0;
    if (s.in_bytes == 0) return false;
  }
  s.bit_buffer |= static_cast<uint32_t>(s.input[s.in_pos++]) << 8;
  s.bit_buffer >>= n - s.extra_bits;
  s.extra_bits += 8 - n;
  return true;
}

// Decodes a mode-1 literal code from the low bits of `bits`; sets *skip and *rest to the bits
// to consume before and after the second-level lookup (skip is 0 for short codes).
inline unsigned LookUpLiteral(const State& s, uint32_t bits, unsigned* skip) {
  const unsigned low = bits & 0xFF;
  if (low == 0) {
    *skip = 8;
    return s.literal_table8[(bits >> 8) & 0xFF];
  }
  const unsigned value = s.literal_table[low];
  if (value != kLongLiteral) {
    *skip = 0;
    return value;
  }
  if ((bits & 0x3F) != 0) {
    *skip = 4;
    return s.literal_table4[(bits >> 4) & 0xFF];
  }
  *skip = 6;
  return s.literal_table6[(bits >> 6) & 0x7F];
}

// Format notes: a flag bit, then either a literal (8 plain bits, or a literal code) or a length
// code with its extra bits. Returns the literal, kMatchItem + the length value, or kItemFailed.
// Input that ends inside the extra bits of the end code still ends the stream normally.
unsigned DecodeItemSlow(State& s) {
  if (s.bit_buffer & 1) {
    if (!WasteBits(s, 1)) return kItemFailed;
    const LengthEntry& entry = kMatchTables.length[s.bit_buffer & 0xFF];
    if (!WasteBits(s, entry.code_bits)) return kItemFailed;
    unsigned value = entry.base;
    const unsigned extra = entry.extra_bits;
    if (extra != 0) {
      value += s.bit_buffer & ((1u << extra) - 1);
      if (!WasteBits(s, extra) && value != kEndOfData) return kItemFailed;
    }
    return kMatchItem + value;
  }
  if (!WasteBits(s, 1)) return kItemFailed;
  if (s.literal_mode == kBinaryLiterals) {
    const unsigned value = s.bit_buffer & 0xFF;
    return WasteBits(s, 8) ? value : kItemFailed;
  }
  unsigned skip = 0;
  const unsigned value = LookUpLiteral(s, s.bit_buffer, &skip);
  if (skip != 0) {
    // The second-level index was taken from bits past the first 8: consume, then look again.
    if (!WasteBits(s, skip)) return kItemFailed;
    const uint32_t b = s.bit_buffer;
    const unsigned again = skip == 4 ? s.literal_table4[b & 0xFF]
                         : skip == 6 ? s.literal_table6[b & 0x7F]
                                     : s.literal_table8[b & 0xFF];
    return WasteBits(s, kLiteralCodeBits[again] - skip) ? again : kItemFailed;
  }
  return WasteBits(s, kLiteralCodeBits[value]) ? value : kItemFailed;
}

// Format notes: the distance code gives the high part h; a 2-byte match adds 2 low bits, a
// longer one k. Returns the distance (1 to 4096), or 0 when the input ran out.
unsigned DecodeDistanceSlow(State& s, unsigned length) {
  const DistanceEntry entry = kMatchTables.distance[s.bit_buffer & 0xFF];
  const unsigned high = entry.high;
  if (!WasteBits(s, entry.code_bits)) return 0;
  unsigned distance;
  if (length == kMinMatch) {
    distance = (high << 2) | (s.bit_buffer & 3u);
    if (!WasteBits(s, 2)) return 0;
  } else {
    distance = (high << s.dictionary_bits) | (s.bit_buffer & s.dictionary_mask);
    if (!WasteBits(s, s.dictionary_bits)) return 0;
  }
  return distance + 1;
}

// Copies a match to window[out_pos]. A distance shorter than the length repeats the last
// bytes; copying in 8-byte steps is the same when the distance is at least 8, because each
// step then reads only bytes already final. The first two steps are taken whatever the
// length, so that most matches copy without a loop. distance <= out_pos always holds.
inline void CopyMatch(uint8_t* window, unsigned out_pos, unsigned distance, unsigned length) {
  uint8_t* to = window + out_pos;
  const uint8_t* from = to - distance;
  if (distance >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + 8, from + 8, 8);
    std::memcpy(to + 16, from + 16, 8);
    std::memcpy(to + 24, from + 24, 8);
    for (unsigned done = 32; done < length; done += 8) std::memcpy(to + done, from + done, 8);
  } else if (distance == 1) {
    std::memset(to, *from, length);
  } else {
    for (unsigned i = 0; i < length; ++i) to[i] = from[i];
  }
}

// Once the window holds a full block past the history, writes it and slides the window down
// by a block: the block written becomes the history.
void FlushIfFull(State& s) {
  if (s.out_pos < 2 * kBlockSize) return;
  unsigned size = kBlockSize;
  s.write(reinterpret_cast<char*>(s.window + kBlockSize), &size, s.param);
  std::memmove(s.window, s.window + kBlockSize, s.out_pos - kBlockSize);
  s.out_pos -= kBlockSize;
}

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap64(v);
#endif
  return v;
}

// Decodes items while the input block has at least kFastInputMargin bytes left, holding up
// to 63 bits at a time, and never reads. On leaving it gives back whole bytes until 8 to 15
// bits remain, which is exactly the state WasteBits would have reached, so the byte-exact
// reader continues seamlessly (and asks for the next block when WasteBits would have).
// Returns true when it decoded the end code.
template <bool kCoded>
bool DecodeFast(State& s) {
  if (s.in_bytes - s.in_pos < kFastInputMargin) return false;
  const unsigned limit = s.in_bytes - kFastInputMargin;
  const uint8_t* const input = s.input;
  uint8_t* const window = s.window;
  const unsigned k = s.dictionary_bits;
  uint64_t bits = s.bit_buffer;
  unsigned valid = s.extra_bits + 8;
  unsigned pos = s.in_pos;
  unsigned out = s.out_pos;
  bool ended = false;
  while (pos <= limit) {
    // Bits above `valid` are already the stream's next bits, so OR-ing them again is harmless.
    bits |= Load64(input + pos) << valid;
    pos += (63 - valid) >> 3;
    valid |= 56;  // now 56 to 63; one item takes at most 30
    if ((bits & 1) == 0) {
      // Literals come in runs: take as many as the bits at hand hold before refilling, always
      // keeping the 8 bits the byte-exact reader needs when the loop ends.
      if (!kCoded) {
        do {
          window[out++] = static_cast<uint8_t>(bits >> 1);
          bits >>= 9;
          valid -= 9;
        } while (valid >= 8 + 9 && (bits & 1) == 0);
      } else {
        do {
          const unsigned entry = kLiteralDecode.entry[(bits >> 1) & kLiteralIndexMask];
          window[out++] = static_cast<uint8_t>(entry);
          bits >>= 1 + (entry >> 8);
          valid -= 1 + (entry >> 8);
        } while (valid >= 8 + 1 + kMaxLiteralCodeBits && (bits & 1) == 0);
      }
    } else {
      bits >>= 1;
      const LengthEntry entry = kMatchTables.length[bits & 0xFF];
      const unsigned extra = entry.extra_bits;
      const unsigned value =
          entry.base + (static_cast<unsigned>(bits >> entry.code_bits) & ((1u << extra) - 1));
      bits >>= entry.code_bits + extra;
      valid -= 1 + entry.code_bits + extra;
      if (value == kEndOfData) {
        ended = true;
        break;
      }
      const unsigned length = value + kMinMatch;
      const DistanceEntry distance_entry = kMatchTables.distance[bits & 0xFF];
      const unsigned high = distance_entry.high;
      bits >>= distance_entry.code_bits;
      valid -= distance_entry.code_bits;
      // Selected rather than branched on: 2-byte matches come and go unpredictably.
      const unsigned low_bits = length == kMinMatch ? 2 : k;
      const unsigned distance =
          (high << low_bits) + static_cast<unsigned>(bits & ((1u << low_bits) - 1)) + 1;
      bits >>= low_bits;
      valid -= low_bits;
      CopyMatch(window, out, distance, length);
      out += length;
    }
    if (out >= 2 * kBlockSize) {
      s.out_pos = out;
      FlushIfFull(s);
      out = s.out_pos;
    }
  }
  while (valid >= 16) {
    valid -= 8;
    --pos;
  }
  s.bit_buffer = static_cast<uint32_t>(bits & ((1u << valid) - 1));
  s.extra_bits = valid - 8;
  s.in_pos = pos;
  s.out_pos = out;
  return ended;
}

// Decodes items until the end code (kExplodeOk) or the end of the input (kExplodeTruncated).
unsigned DecodeItems(State& s) {
  for (;;) {
    if (s.literal_mode == kCodedLiterals ? DecodeFast<true>(s) : DecodeFast<false>(s)) {
      return kExplodeOk;
    }
    const unsigned item = DecodeItemSlow(s);
    if (item == kItemFailed) return kExplodeTruncated;
    if (item < kMatchItem) {
      s.window[s.out_pos++] = static_cast<uint8_t>(item);
    } else {
      const unsigned value = item - kMatchItem;
      if (value == kEndOfData) return kExplodeOk;
      const unsigned length = value + kMinMatch;
      const unsigned distance = DecodeDistanceSlow(s, length);
      if (distance == 0) return kExplodeTruncated;
      CopyMatch(s.window, s.out_pos, distance, length);
      s.out_pos += length;
    }
    FlushIfFull(s);
  }
}

}  // namespace

unsigned Explode(ExplodeReadFunction read, ExplodeWriteFunction write, char* work_area,
                 void* param) {
  void* place = work_area;
  size_t space = kExplodeWorkAreaSize;
  State& s = *new (std::align(alignof(State), sizeof(State), place, space)) State;
  s.read = read;
  s.write = write;
  s.param = param;

  // Format notes: the header is the literal-mode byte and the dictionary-size code; the third
  // byte starts the bit stream. A first block of 4 bytes or fewer is refused.
  unsigned size = kInputSize;
  const unsigned got = read(reinterpret_cast<char*>(s.input), &size, param);
  s.in_bytes = got < kInputSize ? got : kInputSize;
  if (s.in_bytes <= 4) return kExplodeInputTooShort;
  s.literal_mode = s.input[0];
  s.dictionary_bits = s.input[1];
  s.bit_buffer = s.input[2];
  s.extra_bits = 0;
  s.in_pos = kHeaderBytes;
  if (s.dictionary_bits < kMinDictionaryBits || s.dictionary_bits > kMaxDictionaryBits) {
    return kExplodeBadDictionary;
  }
  if (s.literal_mode != kBinaryLiterals && s.literal_mode != kCodedLiterals) {
    return kExplodeBadLiteralMode;
  }
  s.dictionary_mask = (1u << s.dictionary_bits) - 1;
  if (s.literal_mode == kCodedLiterals) BuildLiteralTables(s);
  std::memset(s.window, 0, kBlockSize);
  s.out_pos = kBlockSize;

  const unsigned result = DecodeItems(s);
  // The last write comes even when it is empty.
  size = s.out_pos - kBlockSize;
  write(reinterpret_cast<char*>(s.window + kBlockSize), &size, param);
  return result;
}

}  // namespace qxi
