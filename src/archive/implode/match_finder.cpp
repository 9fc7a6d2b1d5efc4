// Hash-chain match finder of the implode encoder.
#include "archive/implode/match_finder.h"

#include <cstring>

#include "archive/implode/implode_codes.h"

namespace qxi {
namespace implode {
namespace {

// Heads of the 4-byte chains: four times as many as a 4 KB dictionary has positions, so few
// chains share a head, and the tables stay small enough for the second-level cache.
constexpr unsigned kHash4Bits = 14;
// Heads of the nearest 3-byte matches; they keep no chains.
constexpr unsigned kHash3Bits = 14;
// Chain links live for twice the largest dictionary, so a link read for any position within
// the dictionary has not been overwritten by a newer position.
constexpr unsigned kPrevSize = 8192;

inline uint32_t Hash3(const uint8_t* p) {
  const uint32_t v = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
  return (v * 2654435761u) >> (32 - kHash3Bits);
}

inline uint32_t Hash4(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return (v * 2654435761u) >> (32 - kHash4Bits);
}

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Number of equal bytes at a and b, at most limit.
inline unsigned MatchLength(const uint8_t* a, const uint8_t* b, unsigned limit) {
  unsigned length = 0;
  while (length + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + length, 8);
    std::memcpy(&y, b + length, 8);
    if (x != y) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
      return length + (__builtin_clzll(x ^ y) >> 3);
#else
      return length + (__builtin_ctzll(x ^ y) >> 3);
#endif
    }
    length += 8;
  }
  while (length < limit && a[length] == b[length]) ++length;
  return length;
}

}  // namespace

MatchFinder::MatchFinder(const uint8_t* data, size_t size, unsigned dictionary_size,
                         unsigned max_chain, unsigned nice_length)
    : data_(data),
      size_(size),
      dictionary_size_(dictionary_size),
      max_chain_(max_chain),
      nice_length_(nice_length),
      head2_(1u << 16, 0),
      head3_(1u << kHash3Bits, 0),
      head4_(1u << kHash4Bits, 0),
      prev_(kPrevSize, 0) {}

// The triple head keeps only the low 16 bits of a position. A stale head can make a near
// distance appear, so the bytes there are checked: if they hold the same bytes, no later
// position with them exists (it would have replaced the head), and the distance is the nearest
// (unless another triple with the same hash came later: a lost match). Distances beyond the
// dictionary are refused before their bytes are read: those reads would miss the cache.
inline unsigned MatchFinder::NearestTriple(size_t pos) {
  const uint8_t* const here = data_ + pos;
  uint16_t& head = head3_[Hash3(here)];
  const unsigned distance = static_cast<uint16_t>(pos - head);
  head = static_cast<uint16_t>(pos);
  // Without branches: whether the bytes match is as good as random, and a mispredicted branch
  // costs more than the compare.
  const bool usable = distance != 0 && distance <= pos && distance <= dictionary_size_;
  const uint8_t* const there = here - (usable ? distance : 0);
  const bool equal = Load16(there) == Load16(here) && there[2] == here[2];
  return usable && equal ? distance : 0;
}

// The pair head keeps only the low 8 bits of a position (plus 1), since a 2-byte match is
// used only within 256 bytes. If the pair stands at the one position within 256 bytes behind
// pos with those low bits, that position was the last to hold the pair: any later one would
// have replaced the head with other low bits.
inline unsigned MatchFinder::NearestPair(size_t pos) {
  const uint8_t* const here = data_ + pos;
  const uint16_t pair = Load16(here);
  const unsigned distance = static_cast<uint8_t>(pos - head2_[pair]) + 1u;  // 1 to 256
  head2_[pair] = static_cast<uint8_t>(pos + 1);
  const bool usable = distance <= pos;
  return usable && Load16(here - (usable ? distance : 0)) == pair ? distance : 0;
}

// Links pos into all heads and its 4-byte chain; returns the previous position + 1 with the
// same 4-byte hash.
inline uint32_t MatchFinder::Insert(size_t pos, unsigned* short_distance, unsigned* distance3) {
  *short_distance = 0;
  *distance3 = 0;
  if (size_ - pos < 2) return 0;
  *short_distance = NearestPair(pos);
  if (size_ - pos < 3) return 0;
  *distance3 = NearestTriple(pos);
  if (size_ - pos < 4) return 0;
  const uint32_t hash = Hash4(data_ + pos);
  const uint32_t candidate = head4_[hash];
  head4_[hash] = static_cast<uint32_t>(pos + 1);
  prev_[pos % kPrevSize] = candidate;
  return candidate;
}

void MatchFinder::Skip(size_t pos) {
  unsigned ignored2, ignored3;
  Insert(pos, &ignored2, &ignored3);
}

unsigned MatchFinder::Find(size_t pos, Match* matches, unsigned* short_distance) {
  unsigned distance3;
  uint32_t candidate = Insert(pos, short_distance, &distance3);
  const size_t left = size_ - pos;
  const unsigned limit = left < kMaxMatch ? static_cast<unsigned>(left) : kMaxMatch;
  const unsigned enough = nice_length_ < limit ? nice_length_ : limit;
  const uint8_t* const here = data_ + pos;
  unsigned count = 0;
  unsigned best = 2;  // only longer matches are reported
  // The nearest 3-byte match comes from its own head; the chains link positions by 4 bytes, so
  // they skip the many candidates that share only 3.
  if (distance3 != 0) {
    best = MatchLength(data_ + pos - distance3, here, limit);
    matches[count++] = {static_cast<uint16_t>(best), static_cast<uint16_t>(distance3)};
    if (best >= enough) return count;
  }
  // Candidates are positions + 1, so one comparison ends the walk both at the chain's end (0)
  // and at the dictionary's edge.
  const size_t nearest_beyond = pos >= dictionary_size_ ? pos - dictionary_size_ : 0;
  for (unsigned tries = max_chain_; candidate > nearest_beyond && tries != 0; --tries) {
    const size_t from = candidate - 1;
    const size_t distance = pos - from;
    const uint8_t* const there = data_ + from;
    // The bytes up to the one that would make the match longer than the best are the likeliest
    // to differ; best < limit, so the four bytes ending there lie within the input.
    const bool may_beat = best >= 3 ? Load32(there + best - 3) == Load32(here + best - 3)
                                    : there[2] == here[2];
    if (may_beat && there[0] == here[0] && there[1] == here[1]) {
      const unsigned length = MatchLength(there, here, limit);
      if (length > best) {
        best = length;
        matches[count++] = {static_cast<uint16_t>(length), static_cast<uint16_t>(distance)};
        if (length >= enough) break;
      }
    }
    candidate = prev_[from % kPrevSize];
  }
  return count;
}

}  // namespace implode
}  // namespace qxi
