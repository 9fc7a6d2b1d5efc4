// Hash-chain match finder of the implode encoder.
#include "archive/implode/match_finder.h"

#include <cstring>

#include "archive/implode/implode_codes.h"

namespace qxi {
namespace implode {
namespace {

constexpr unsigned kHash3Bits = 15;
// Chain links live for twice the largest dictionary, so a link read for any position within
// the dictionary has not been overwritten by a newer position.
constexpr unsigned kPrevSize = 8192;

inline uint32_t Hash3(const uint8_t* p) {
  const uint32_t v = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
  return (v * 2654435761u) >> (32 - kHash3Bits);
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
                         unsigned max_chain)
    : data_(data),
      size_(size),
      dictionary_size_(dictionary_size),
      max_chain_(max_chain),
      head2_(1u << 16, 0),
      head3_(1u << kHash3Bits, 0),
      prev_(kPrevSize, 0) {}

// Links pos into both hash tables; returns the previous position + 1 with the same 3-byte hash.
uint32_t MatchFinder::Insert(size_t pos, unsigned* short_distance) {
  *short_distance = 0;
  if (size_ - pos < 2) return 0;
  const unsigned pair = data_[pos] | (unsigned{data_[pos + 1]} << 8);
  const uint32_t last_pair = head2_[pair];
  head2_[pair] = static_cast<uint32_t>(pos + 1);
  if (last_pair != 0 && pos + 1 - last_pair <= kMaxShortDistance) {
    *short_distance = static_cast<unsigned>(pos + 1 - last_pair);
  }
  if (size_ - pos < 3) return 0;
  const uint32_t hash = Hash3(data_ + pos);
  const uint32_t candidate = head3_[hash];
  head3_[hash] = static_cast<uint32_t>(pos + 1);
  prev_[pos % kPrevSize] = candidate;
  return candidate;
}

void MatchFinder::Skip(size_t pos) {
  unsigned ignored;
  Insert(pos, &ignored);
}

unsigned MatchFinder::Find(size_t pos, Match* matches, unsigned* short_distance) {
  uint32_t candidate = Insert(pos, short_distance);
  const size_t left = size_ - pos;
  const unsigned limit = left < kMaxMatch ? static_cast<unsigned>(left) : kMaxMatch;
  const uint8_t* const here = data_ + pos;
  unsigned count = 0;
  unsigned best = 2;  // only longer matches are reported
  for (unsigned tries = max_chain_; candidate != 0 && tries != 0; --tries) {
    const size_t from = candidate - 1;
    const size_t distance = pos - from;
    if (distance > dictionary_size_) break;
    const uint8_t* const there = data_ + from;
    // The byte that would make the match longer than the best is the likeliest to differ.
    if (there[best] == here[best] && there[0] == here[0] && there[1] == here[1]) {
      const unsigned length = MatchLength(there, here, limit);
      if (length > best) {
        best = length;
        matches[count++] = {static_cast<uint16_t>(length), static_cast<uint16_t>(distance)};
        if (length >= limit) break;
      }
    }
    candidate = prev_[from % kPrevSize];
  }
  return count;
}

}  // namespace implode
}  // namespace qxi
