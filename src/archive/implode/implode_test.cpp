// The encoder through the decoder: round trips at every setting on varied data, plus the
// properties the encoder promises (determinism, padding, use of the format's whole range).
#include "archive/implode/implode.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "archive/implode/explode.h"
#include "archive/implode/explode_harness.h"

namespace qxi {
namespace {

using testing_support::ExplodeRun;
using testing_support::RunExplode;
using Bytes = std::vector<uint8_t>;

Bytes Pack(const Bytes& data, ImplodeLiterals literals, unsigned dictionary_size,
           ImplodeEffort effort = ImplodeEffort::kNormal) {
  Bytes out;
  Implode(data.data(), data.size(), ImplodeOptions{literals, dictionary_size, effort}, &out);
  return out;
}

// Deterministic pseudo-random bytes (a 64-bit LCG's high bits).
Bytes RandomBytes(size_t n, uint64_t seed) {
  Bytes out(n);
  for (auto& b : out) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    b = static_cast<uint8_t>(seed >> 56);
  }
  return out;
}

// Text-like bytes: words from a small vocabulary in a pseudo-random order, with line breaks.
Bytes Text(size_t n) {
  static const char* const kWords[] = {"the", "installer", "copies", "files", "into", "a",
                                       "directory", "and", "writes", "registry", "keys", "of",
                                       "priority", "when", "setup", "runs", "Windows", "path"};
  Bytes out;
  uint64_t seed = 7;
  while (out.size() < n) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    const std::string word = kWords[(seed >> 40) % 18];
    out.insert(out.end(), word.begin(), word.end());
    out.push_back((seed >> 20) % 11 == 0 ? '\n' : ' ');
  }
  out.resize(n);
  return out;
}

// Runs of one byte of varied lengths, some longer than the longest match.
Bytes Runs(size_t n) {
  Bytes out;
  unsigned length = 1;
  uint8_t value = 0;
  while (out.size() < n) {
    out.insert(out.end(), length, value);
    value = static_cast<uint8_t>(value * 31 + 7);
    length = length * 3 % 1201 + 1;
  }
  out.resize(n);
  return out;
}

struct Setting {
  ImplodeLiterals literals;
  unsigned dictionary_size;
};
const Setting kSettings[] = {{ImplodeLiterals::kBinary, 1024}, {ImplodeLiterals::kBinary, 2048},
                             {ImplodeLiterals::kBinary, 4096}, {ImplodeLiterals::kCoded, 1024},
                             {ImplodeLiterals::kCoded, 2048},  {ImplodeLiterals::kCoded, 4096}};

void ExpectRoundTrip(const Bytes& data, const char* what) {
  for (const Setting& s : kSettings) {
    for (ImplodeEffort effort : {ImplodeEffort::kNormal, ImplodeEffort::kBest}) {
      const Bytes packed = Pack(data, s.literals, s.dictionary_size, effort);
      const ExplodeRun run = RunExplode(packed);
      const auto where = [&] {
        return std::string(what) + " dict " + std::to_string(s.dictionary_size) + " effort " +
               std::to_string(static_cast<int>(effort));
      };
      ASSERT_EQ(run.result, kExplodeOk) << where();
      ASSERT_EQ(run.output, data) << where();
      // Streams end where the data needs them to, so every write but the last is full.
      for (size_t i = 0; i + 1 < run.writes.size(); ++i) ASSERT_EQ(run.writes[i], 4096u);
    }
  }
}

TEST(Implode, RoundTripsSmallInputs) {
  ExpectRoundTrip({}, "empty");
  ExpectRoundTrip({0x41}, "one byte");
  ExpectRoundTrip({0x00, 0x00}, "two zeros");
  ExpectRoundTrip({'a', 'b', 'a', 'b', 'a'}, "short repeat");
}

TEST(Implode, RoundTripsAroundBlockBoundaries) {
  for (size_t n : {4095u, 4096u, 4097u, 8191u, 8192u, 8193u}) {
    ExpectRoundTrip(Text(n), "text");
    ExpectRoundTrip(RandomBytes(n, n), "random");
  }
}

TEST(Implode, RoundTripsLongRunsAndLargerInputs) {
  ExpectRoundTrip(Bytes(70000, 0), "zeros");
  ExpectRoundTrip(Runs(50000), "runs");
  ExpectRoundTrip(Text(60000), "text");
  ExpectRoundTrip(RandomBytes(40000, 99), "random");
  Bytes mixed = Text(20000);
  const Bytes noise = RandomBytes(20000, 5);
  mixed.insert(mixed.end(), noise.begin(), noise.end());
  const Bytes runs = Runs(20000);
  mixed.insert(mixed.end(), runs.begin(), runs.end());
  ExpectRoundTrip(mixed, "mixed");
}

TEST(Implode, RoundTripsShortPeriods) {
  // Matches closer than their length repeat the last few bytes: every period from 2 to 9,
  // with runs long enough for matches of every length.
  Bytes data;
  const Bytes noise = RandomBytes(600, 21);
  for (unsigned period = 2; period <= 9; ++period) {
    for (unsigned run : {5u, 9u, 16u, 17u, 30u, 518u, 700u}) {
      for (unsigned i = 0; i < run; ++i) {
        data.push_back(noise[(period * 31 + run + i % period) % 600]);
      }
      data.push_back(static_cast<uint8_t>(run));
    }
  }
  ExpectRoundTrip(data, "short periods");
}

TEST(Implode, PositionsSeen64KiBAgoGiveNoMatches) {
  // Bytes below 0x80 everywhere except one 4-byte group at position 100 and again 65541
  // bytes later, 5 bytes past 65536: the encoder remembers a group's last position only
  // modulo 65536, so it must check the bytes 5 back before it uses them.
  Bytes data = RandomBytes(70000, 11);
  for (auto& b : data) b &= 0x7F;
  const size_t later = 100 + 65536 + 5;
  for (size_t at : {size_t{100}, later}) {
    data[at] = 0xAB;
    data[at + 1] = 0xCD;
    data[at + 2] = 0xEF;
    data[at + 3] = 0x90;
  }
  ExpectRoundTrip(data, "group seen 64 KiB ago");
}

TEST(Implode, EmptyInputIsPaddedPastFourBytes) {
  EXPECT_EQ(Pack({}, ImplodeLiterals::kBinary, 4096), Bytes({0x00, 0x06, 0x01, 0xFF, 0x00}));
  EXPECT_EQ(Pack({}, ImplodeLiterals::kCoded, 1024), Bytes({0x01, 0x04, 0x01, 0xFF, 0x00}));
}

TEST(Implode, OneByteGivesTheShortestStream) {
  EXPECT_EQ(Pack({0x41}, ImplodeLiterals::kBinary, 4096),
            Bytes({0x00, 0x06, 0x82, 0x02, 0xFE, 0x01}));
}

TEST(Implode, AppendsToTheOutput) {
  Bytes out = {0xEE};
  const Bytes data = Text(100);
  Implode(data.data(), data.size(), ImplodeOptions{}, &out);
  EXPECT_EQ(out[0], 0xEE);
  EXPECT_EQ(Bytes(out.begin() + 1, out.end()), Pack(data, ImplodeLiterals::kBinary, 4096));
}

TEST(Implode, SameInputGivesSameBytes) {
  const Bytes data = Text(30000);
  EXPECT_EQ(Pack(data, ImplodeLiterals::kCoded, 2048), Pack(data, ImplodeLiterals::kCoded, 2048));
}

TEST(Implode, RunUsesLongestMatchesAtDistance1) {
  // 1 literal, 19 matches of 518 and one of 157, with the end code: 504 bits.
  EXPECT_LE(Pack(Bytes(10000, 0), ImplodeLiterals::kBinary, 4096).size(), 2u + 63u);
}

TEST(Implode, ReachesTheWholeDictionary) {
  const Bytes block = RandomBytes(4000, 3);
  Bytes twice = block;
  twice.insert(twice.end(), block.begin(), block.end());
  // Only the 4096-byte dictionary reaches the copy 4000 bytes back.
  EXPECT_LT(Pack(twice, ImplodeLiterals::kBinary, 4096).size(), 4000u * 9 / 8 + 100);
  EXPECT_GT(Pack(twice, ImplodeLiterals::kBinary, 2048).size(), 8000u * 9 / 8 - 100);
}

TEST(Implode, BestEffortFindsWhatTheNormalSearchMisses) {
  // Many repeats of few words: the nearest candidates are seldom the longest matches.
  const Bytes text = Text(60000);
  EXPECT_LT(Pack(text, ImplodeLiterals::kCoded, 4096, ImplodeEffort::kBest).size(),
            Pack(text, ImplodeLiterals::kCoded, 4096).size());
}

TEST(Implode, CodedLiteralsAreShorterForText) {
  const Bytes text = Text(20000);
  EXPECT_LT(Pack(text, ImplodeLiterals::kCoded, 4096).size(),
            Pack(text, ImplodeLiterals::kBinary, 4096).size());
}

TEST(Implode, RejectsOtherDictionarySizes) {
  Bytes out;
  const uint8_t byte = 0;
  for (unsigned size : {0u, 512u, 3000u, 8192u}) {
    EXPECT_THROW(Implode(&byte, 1, ImplodeOptions{ImplodeLiterals::kBinary, size}, &out),
                 std::invalid_argument);
  }
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace qxi
