// The implode encoder. The format's codes are fixed, so the exact cost of every literal and
// match is known in advance: the parser finds the cheapest sequence of items over each segment
// of the input as a shortest path, with the matches a hash-chain finder offers at each position.
#include "archive/implode/implode.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "archive/implode/bit_writer.h"
#include "archive/implode/implode_codes.h"
#include "archive/implode/match_finder.h"

namespace qxi {
namespace {

using namespace implode;

constexpr size_t kSegment = 16384;    // positions priced at once; matches stop at its end

// How much of the search and of the pricing an effort level does.
struct SearchDepth {
  unsigned max_chain;    // earlier positions tried per position
  unsigned nice_length;  // a match this long is taken at once, unpriced
  // Lengths up to this are all priced; beyond it only the last length of each run of equally
  // costly lengths, and the longest. The lengths skipped are reached as well by the same
  // match found again a position or more later, so little is lost, and long matches stop
  // costing time in proportion to the square of their length.
  unsigned fully_priced_length;
};
// Normal: the few nearest candidates find most of what a deep search finds (the output is
// 1 to 3% larger), at three times the speed. Best: as good as searching every position of
// the dictionary, within 0.1%.
constexpr SearchDepth kNormalDepth{4, 32, 8};
constexpr SearchDepth kBestDepth{256, kMaxMatch, 64};
constexpr size_t kMinStreamBytes = 5; // a decoder refuses a first block of 4 bytes or fewer
constexpr uint32_t kUnreached = std::numeric_limits<uint32_t>::max();

// Length symbol of each length value 0..516.
struct LengthSymbols {
  uint8_t of[kMaxMatch - 1];
};
constexpr LengthSymbols MakeLengthSymbols() {
  LengthSymbols table{};
  for (unsigned value = 0; value + kMinMatch <= kMaxMatch; ++value) {
    unsigned symbol = kLengthSymbols - 1;
    while (kLengthBase[symbol] > value) --symbol;
    table.of[value] = static_cast<uint8_t>(symbol);
  }
  return table;
}
constexpr LengthSymbols kLengthSymbolOf = MakeLengthSymbols();

// Bits of every item the parser can choose, for one setting.
struct Costs {
  uint32_t literal[256];
  uint32_t length[kMaxMatch + 1];                  // flag, length code and extra bits
  uint16_t last_of_run[kMaxMatch + 1];  // last length that costs as many bits as this one
  uint32_t short_distance[kMaxShortDistance + 1];  // distance of a 2-byte match
  uint32_t distance[64u << kMaxDictionaryBits | 1];  // distance of a longer match
};

void ComputeCosts(bool coded, unsigned k, Costs* c) {
  for (unsigned b = 0; b < 256; ++b) c->literal[b] = 1 + (coded ? kLiteralCodeBits[b] : 8);
  for (unsigned length = kMinMatch; length <= kMaxMatch; ++length) {
    const unsigned symbol = kLengthSymbolOf.of[length - kMinMatch];
    c->length[length] = 1 + kLengthCodeBits[symbol] + kLengthExtraBits[symbol];
  }
  c->last_of_run[kMaxMatch] = kMaxMatch;
  for (unsigned length = kMaxMatch - 1; length >= kMinMatch; --length) {
    c->last_of_run[length] =
        c->length[length + 1] == c->length[length] ? c->last_of_run[length + 1] : length;
  }
  for (unsigned d = 1; d <= kMaxShortDistance; ++d) {
    c->short_distance[d] = kDistanceCodeBits[(d - 1) >> 2] + 2;
  }
  for (unsigned d = 1; d <= (64u << k); ++d) c->distance[d] = kDistanceCodeBits[(d - 1) >> k] + k;
}

class Encoder {
 public:
  Encoder(const uint8_t* data, size_t size, const ImplodeOptions& options, std::vector<uint8_t>* out)
      : data_(data),
        size_(size),
        coded_(options.literals == ImplodeLiterals::kCoded),
        k_(options.dictionary_size == 1024 ? 4 : options.dictionary_size == 2048 ? 5 : 6),
        depth_(options.effort == ImplodeEffort::kBest ? kBestDepth : kNormalDepth),
        finder_(data, size, options.dictionary_size, depth_.max_chain, depth_.nice_length),
        bits_(out),
        step_(kSegment + 2) {
    ComputeCosts(coded_, k_, &costs_);
  }

  void Run(std::vector<uint8_t>* out) {
    out->push_back(static_cast<uint8_t>(coded_ ? kCodedLiterals : kBinaryLiterals));
    out->push_back(static_cast<uint8_t>(k_));
    size_t pos = 0;
    while (pos < size_) pos = EncodeSegment(pos);
    bits_.Put(1 | (kLengthCodes.bits[15] << 1), 1 + kLengthCodeBits[15]);
    bits_.Put(0xFF, kLengthExtraBits[15]);
    bits_.Finish();
  }

 private:
  // Prices positions from `start` up to the segment's end, or up to a position with a match
  // of the nice length or more, writes the cheapest items that reach it, and returns where the
  // next segment starts.
  size_t EncodeSegment(size_t start) {
    const size_t end = size_ - start < kSegment ? size_ : start + kSegment;
    // Positions are marked unreached just ahead of the farthest one an item can reach, not all
    // at once: a nice match often ends the segment early.
    step_[0] = 0;
    size_t marked = 0;
    Match matches[kMaxMatchesPerPosition];
    size_t pos = start;
    Match nice{0, 0};
    for (; pos < end; ++pos) {
      const size_t j = pos - start;
      const size_t reach = std::min(j + kMaxMatch, end - start);
      for (; marked < reach; ++marked) step_[marked + 1] = Step(kUnreached, 0, 0);
      unsigned short_distance;
      const unsigned count = finder_.Find(pos, matches, &short_distance);
      if (count != 0 && matches[count - 1].length >= depth_.nice_length) {
        nice = matches[count - 1];
        break;
      }
      const uint32_t base = static_cast<uint32_t>(step_[j] >> 32);
      Relax(j + 1, base + costs_.literal[data_[pos]], 1, 0);
      // Without a branch: whether a pair repeats is as good as random. A pair in the last
      // position of the segment reaches one step past its end, which is never read.
      const uint64_t pair = Step(base + costs_.length[2] + costs_.short_distance[short_distance],
                                 2, short_distance);
      step_[j + 2] = std::min(step_[j + 2], short_distance != 0 ? pair : ~uint64_t{0});
      const size_t room = end - pos;
      // Each length is priced with the nearest match that reaches it.
      unsigned length = 3;
      for (unsigned m = 0; m < count; ++m) {
        const unsigned longest = matches[m].length < room ? matches[m].length : static_cast<unsigned>(room);
        const uint32_t with_distance = base + costs_.distance[matches[m].distance];
        const unsigned fully_priced = std::min(longest, depth_.fully_priced_length);
        for (; length <= fully_priced; ++length) {
          Relax(j + length, with_distance + costs_.length[length], length, matches[m].distance);
        }
        for (; length <= longest; ++length) {
          length = std::min<unsigned>(costs_.last_of_run[length], longest);
          Relax(j + length, with_distance + costs_.length[length], length, matches[m].distance);
        }
      }
    }
    EmitPath(start, pos - start);
    if (nice.length == 0) return pos;
    EmitMatch(nice.length, nice.distance);
    for (size_t skip = pos + 1; skip < pos + nice.length; ++skip) finder_.Skip(skip);
    return pos + nice.length;
  }

  // A step packs its price above its item, so the cheaper of two steps is the smaller number:
  // the comparison compiles without a branch, and of two equally cheap items the shorter wins.
  static uint64_t Step(uint32_t price, unsigned length, unsigned distance) {
    return uint64_t{price} << 32 | length << 16 | distance;
  }
  inline void Relax(size_t j, uint32_t price, unsigned length, unsigned distance) {
    const uint64_t step = Step(price, length, distance);
    step_[j] = step < step_[j] ? step : step_[j];
  }

  unsigned StepLength(size_t j) const { return static_cast<uint16_t>(step_[j] >> 16); }

  // Writes the cheapest items from start to start + reach, found by walking back the steps.
  void EmitPath(size_t start, size_t reach) {
    path_.clear();
    for (size_t j = reach; j > 0; j -= StepLength(j)) path_.push_back(static_cast<uint32_t>(j));
    size_t pos = start;
    for (size_t i = path_.size(); i-- > 0;) {
      const uint32_t j = path_[i];
      const unsigned length = StepLength(j);
      if (length == 1) {
        EmitLiteral(data_[pos]);
      } else {
        EmitMatch(length, static_cast<uint16_t>(step_[j]));
      }
      pos += length;
    }
  }

  void EmitLiteral(uint8_t byte) {
    if (coded_) {
      bits_.Put(static_cast<uint32_t>(kLiteralCodes.bits[byte]) << 1, 1 + kLiteralCodeBits[byte]);
    } else {
      bits_.Put(static_cast<uint32_t>(byte) << 1, 9);
    }
  }

  // Format notes: flag 1, the length code and its extra bits, the distance code of the high
  // part of distance - 1, then its low 2 bits (length 2) or k bits.
  void EmitMatch(unsigned length, unsigned distance) {
    const unsigned value = length - kMinMatch;
    const unsigned symbol = kLengthSymbolOf.of[value];
    bits_.Put(1 | (static_cast<uint32_t>(kLengthCodes.bits[symbol]) << 1), 1 + kLengthCodeBits[symbol]);
    bits_.Put(value - kLengthBase[symbol], kLengthExtraBits[symbol]);
    const unsigned low_bits = length == kMinMatch ? 2 : k_;
    const unsigned high = (distance - 1) >> low_bits;
    bits_.Put(kDistanceCodes.bits[high], kDistanceCodeBits[high]);
    bits_.Put((distance - 1) & ((1u << low_bits) - 1), low_bits);
  }

  const uint8_t* data_;
  size_t size_;
  bool coded_;
  unsigned k_;
  SearchDepth depth_;
  MatchFinder finder_;
  BitWriter bits_;
  Costs costs_;
  // Cheapest way to reach segment position j: its bits (high half), and the length (1: literal)
  // and distance of its last item (low half).
  std::vector<uint64_t> step_;
  std::vector<uint32_t> path_;           // segment positions of the chosen items, last first
};

}  // namespace

void Implode(const uint8_t* data, size_t size, const ImplodeOptions& options,
             std::vector<uint8_t>* out) {
  if (options.dictionary_size != 1024 && options.dictionary_size != 2048 &&
      options.dictionary_size != 4096) {
    throw std::invalid_argument("implode dictionary size must be 1024, 2048 or 4096");
  }
  if (size >= 0xFFFFFFFFu) throw std::length_error("implode input of 4 GiB or more");
  const size_t first = out->size();
  Encoder(data, size, options, out).Run(out);
  // A decoder stops at the end code and never looks at what follows it.
  while (out->size() - first < kMinStreamBytes) out->push_back(0);
}

}  // namespace qxi
