// Match finder of the implode encoder: the nearest 2- and 3-byte matches from heads, longer ones
// from hash chains of 4 bytes over the last 4096 bytes at most, giving for each position the
// matches a cost-based parser needs.
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
  /// positions are tried per Find, and the search stops at a match of nice_length or more.
  MatchFinder(const uint8_t* data, size_t size, unsigned dictionary_size, unsigned max_chain,
              unsigned nice_length);

  /// Adds pos to the chains and stores in matches the matches of 3 bytes or more it found,
  /// longest last, each the nearest one of its length that the search saw (a 3-byte match is
  /// missed when another triple with the same hash came later); returns how many. Sets
  /// *short_distance to the nearest distance of a 2-byte match, when one lies within 256 bytes,
  /// else to 0.
  unsigned Find(size_t pos, Match* matches, unsigned* short_distance);

  /// Adds pos to the chains without searching.
  void Skip(size_t pos);

 private:
  // Replaces the triple's head with pos; returns the distance of the position it held when it
  // lies within the dictionary and holds the same 3 bytes, else 0.
  unsigned NearestTriple(size_t pos);
  // Replaces the pair's head with pos; returns the distance of the nearest earlier position
  // within 256 bytes that holds the same 2 bytes, else 0.
  unsigned NearestPair(size_t pos);
  // Adds pos to the heads and chains; sets the nearest 2-byte distance (within 256) and 3-byte
  // distance (within the dictionary), 0 for none, and returns the chain's previous position + 1.
  uint32_t Insert(size_t pos, unsigned* short_distance, unsigned* distance3);

  const uint8_t* data_;
  size_t size_;
  unsigned dictionary_size_;
  unsigned max_chain_;
  unsigned nice_length_;
  std::vector<uint8_t> head2_;   // 2-byte value -> low 8 bits of its last position + 1
  std::vector<uint16_t> head3_;  // hash of 3 bytes -> low 16 bits of its last position
  std::vector<uint32_t> head4_;  // hash of 4 bytes -> last position + 1 (0: none)
  std::vector<uint32_t> prev_;   // position mod 8192 -> previous position + 1, same 4-byte hash
};

}  // namespace implode
}  // namespace qxi
