// Match finder of the implode encoder: hash chains over the last 4096 bytes at most, giving for
// each position the matches a cost-based parser needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qxi {
namespace implode {

/// One candidate match: `length` bytes equal to those `distance` bytes back.
struct Match {
  uint16_t length;
  uint16_t distance;
};

/// Room Find needs in its output array.
constexpr unsigned kMaxMatchesPerPosition = 520;

/// Walks the input one position at a time (every position goes through Find or Skip, in order)
/// and keeps the hash chains of the positions behind the current one.
class MatchFinder {
 public:
  /// Searches data[0, size); distances stay within dictionary_size; at most max_chain earlier
  /// positions are tried per Find.
  MatchFinder(const uint8_t* data, size_t size, unsigned dictionary_size, unsigned max_chain);

  /// Adds pos to the chains and stores in matches the matches of 3 bytes or more it found,
  /// longest last, each the nearest one of its length; returns how many. Sets *short_distance
  /// to the nearest distance of a 2-byte match, when one lies within 256 bytes, else to 0.
  unsigned Find(size_t pos, Match* matches, unsigned* short_distance);

  /// Adds pos to the chains without searching.
  void Skip(size_t pos);

 private:
  uint32_t Insert(size_t pos, unsigned* short_distance);

  const uint8_t* data_;
  size_t size_;
  unsigned dictionary_size_;
  unsigned max_chain_;
  std::vector<uint32_t> head2_;  // 2-byte value -> last position + 1 (0: none)
  std::vector<uint32_t> head3_;  // hash of 3 bytes -> last position + 1
  std::vector<uint32_t> prev_;   // position mod 8192 -> previous position + 1, same hash
};

}  // namespace implode
}  // namespace qxi
