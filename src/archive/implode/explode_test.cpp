// Explode against hand-assembled streams: results, output bytes and the exact sequence of
// read and write calls.
#include "archive/implode/explode.h"

#include <gtest/gtest.h>

#include <vector>

#include "archive/implode/explode_harness.h"
#include "archive/implode/implode_codes.h"

namespace qxi {
namespace {

using testing_support::ExplodeRun;
using testing_support::ReadCall;
using testing_support::RunExplode;
using testing_support::StreamAssembler;
using Bytes = std::vector<uint8_t>;

TEST(Explode, SixByteStreamGivesOneLiteral) {
  const ExplodeRun run = RunExplode({0x00, 0x06, 0x82, 0x02, 0xFE, 0x01});
  EXPECT_EQ(run.result, kExplodeOk);
  EXPECT_EQ(run.output, Bytes({0x41}));
  EXPECT_EQ(run.writes, std::vector<unsigned>({1}));
  // The end code's last extra bit needs a byte past the stream: one more read, which gives 0.
  EXPECT_EQ(run.reads, std::vector<ReadCall>({{2048, 6}, {2048, 0}}));
}

TEST(Explode, AssemblerReproducesTheSixByteStream) {
  StreamAssembler s(0, 6);
  s.Literal(0x41);
  s.End();
  EXPECT_EQ(s.Bytes(), Bytes({0x00, 0x06, 0x82, 0x02, 0xFE, 0x01}));
}

TEST(Explode, SmallestStreamWritesZeroBytesOnce) {
  const ExplodeRun run = RunExplode({0x00, 0x04, 0x01, 0xFF, 0x00});
  EXPECT_EQ(run.result, kExplodeOk);
  EXPECT_TRUE(run.output.empty());
  EXPECT_EQ(run.writes, std::vector<unsigned>({0}));
}

TEST(Explode, FourBytesOrFewerGiveResult3WithoutWriting) {
  for (const Bytes& input : {Bytes{}, Bytes{0x00}, Bytes{0x00, 0x06, 0x01, 0xFF}}) {
    const ExplodeRun run = RunExplode(input);
    EXPECT_EQ(run.result, kExplodeInputTooShort);
    EXPECT_TRUE(run.writes.empty());
    EXPECT_EQ(run.reads.size(), 1u);
  }
}

TEST(Explode, FirstReadDecidesTheShortInputCheck) {
  // Ten good bytes, but the first read delivers only four of them.
  StreamAssembler s(0, 6);
  for (int i = 0; i < 5; ++i) s.Literal('x');
  s.End();
  const ExplodeRun run = RunExplode(s.Bytes(), 4);
  EXPECT_EQ(run.result, kExplodeInputTooShort);
  EXPECT_EQ(run.reads, std::vector<ReadCall>({{2048, 4}}));
}

TEST(Explode, BadDictionaryCodeGivesResult1) {
  for (uint8_t k : {0, 3, 7, 255}) {
    const ExplodeRun run = RunExplode({0x01, k, 0x01, 0xFF, 0x00});
    EXPECT_EQ(run.result, kExplodeBadDictionary) << int(k);
    EXPECT_TRUE(run.writes.empty());
  }
}

TEST(Explode, BadLiteralModeGivesResult2) {
  const ExplodeRun run = RunExplode({0x02, 0x06, 0x01, 0xFF, 0x00});
  EXPECT_EQ(run.result, kExplodeBadLiteralMode);
  EXPECT_TRUE(run.writes.empty());
}

TEST(Explode, BothHeaderBytesBadGivesResult1) {
  EXPECT_EQ(RunExplode({0x02, 0x07, 0x01, 0xFF, 0x00}).result, kExplodeBadDictionary);
}

TEST(Explode, LastLiteralWithoutLookAheadIsLost) {
  // 4 literals fill 36 bits; the fourth needs 8 bits beyond its own, which are not there.
  StreamAssembler s(0, 5);
  for (uint8_t c : {'a', 'b', 'c', 'd'}) s.Literal(c);
  const ExplodeRun run = RunExplode(s.Bytes());
  EXPECT_EQ(run.result, kExplodeTruncated);
  EXPECT_EQ(run.output, Bytes({'a', 'b', 'c'}));
}

TEST(Explode, MissingEndCodeGivesResult4AfterWritingTheOutput) {
  StreamAssembler s(0, 5);
  for (uint8_t c : {'a', 'b', 'c', 'd'}) s.Literal(c);
  s.Bits(0, 8);  // the look-ahead byte 'd' needs, and the start of a literal that never ends
  const ExplodeRun run = RunExplode(s.Bytes());
  EXPECT_EQ(run.result, kExplodeTruncated);
  EXPECT_EQ(run.output, Bytes({'a', 'b', 'c', 'd'}));
  EXPECT_EQ(run.writes, std::vector<unsigned>({4}));
}

TEST(Explode, CutInsideAMatchGivesResult4AndTheBytesBefore) {
  StreamAssembler s(0, 6);
  for (uint8_t c : {'x', 'y', 'z'}) s.Literal(c);
  // A match of length 9 whose distance lacks its low bits; the bits present also give 'z' the
  // byte of look-ahead it needs.
  s.Bits(1, 1);
  s.Bits(implode::kLengthCodes.bits[7], implode::kLengthCodeBits[7]);
  s.Bits(implode::kDistanceCodes.bits[0], implode::kDistanceCodeBits[0]);
  const ExplodeRun run = RunExplode(s.Bytes());
  EXPECT_EQ(run.result, kExplodeTruncated);
  EXPECT_EQ(run.output, Bytes({'x', 'y', 'z'}));
}

TEST(Explode, EveryCutOfAStreamGivesAPrefixAndResult4) {
  StreamAssembler s(1, 4);
  Bytes expected;
  for (int i = 0; i < 40; ++i) {
    s.Literal(static_cast<uint8_t>('a' + i % 7));
    expected.push_back(static_cast<uint8_t>('a' + i % 7));
    if (i % 5 == 4) {
      s.Match(2 + i, 3);
      for (int j = 0; j < 2 + i; ++j) expected.push_back(expected[expected.size() - 3]);
    }
  }
  s.End();
  const Bytes full = s.Bytes();
  ASSERT_EQ(RunExplode(full).output, expected);
  for (size_t cut = 5; cut < full.size(); ++cut) {
    const ExplodeRun run = RunExplode(Bytes(full.begin(), full.begin() + cut));
    EXPECT_EQ(run.result, kExplodeTruncated) << cut;
    ASSERT_LE(run.output.size(), expected.size());
    EXPECT_TRUE(std::equal(run.output.begin(), run.output.end(), expected.begin())) << cut;
  }
}

// Output of n bytes: 'q' followed by matches at distance 1.
Bytes RunOfQ(unsigned n, unsigned dictionary_bits = 6) {
  StreamAssembler s(0, dictionary_bits);
  s.Literal('q');
  for (unsigned left = n - 1; left > 0;) {
    unsigned length = left > 518 ? 518 : left;
    if (left - length == 1) --length;  // a match is at least 2 long
    if (length < 2) {
      s.Literal('q');
      left -= 1;
    } else {
      s.Match(length, 1);
      left -= length;
    }
  }
  s.End();
  return s.Bytes();
}

TEST(Explode, OutputOf4096BytesIsWrittenAs4096And0) {
  const ExplodeRun run = RunExplode(RunOfQ(4096));
  EXPECT_EQ(run.result, kExplodeOk);
  EXPECT_EQ(run.writes, std::vector<unsigned>({4096, 0}));
  EXPECT_EQ(run.output, Bytes(4096, 'q'));
}

TEST(Explode, WritesAreFullBlocksThenTheRest) {
  EXPECT_EQ(RunExplode(RunOfQ(4095)).writes, std::vector<unsigned>({4095}));
  EXPECT_EQ(RunExplode(RunOfQ(4097)).writes, std::vector<unsigned>({4096, 1}));
  EXPECT_EQ(RunExplode(RunOfQ(8192)).writes, std::vector<unsigned>({4096, 4096, 0}));
  const ExplodeRun run = RunExplode(RunOfQ(20000));
  EXPECT_EQ(run.writes, std::vector<unsigned>({4096, 4096, 4096, 4096, 3616}));
  EXPECT_EQ(run.output, Bytes(20000, 'q'));
}

TEST(Explode, LongestMatchAtDistance1RepeatsTheLastByte) {
  StreamAssembler s(0, 4);
  s.Literal('a');
  s.Literal('b');
  s.Match(518, 1);
  s.End();
  const ExplodeRun run = RunExplode(s.Bytes());
  Bytes expected{'a'};
  expected.insert(expected.end(), 519, 'b');
  EXPECT_EQ(run.result, kExplodeOk);
  EXPECT_EQ(run.output, expected);
}

TEST(Explode, OverlappingMatchRepeatsAShortPattern) {
  StreamAssembler s(0, 6);
  for (uint8_t c : {'1', '2', '3'}) s.Literal(c);
  s.Match(10, 3);
  s.Match(2, 2);  // a 2-byte match takes 2 low distance bits
  s.End();
  // 3 literals and 10 copied make 13 bytes; the 2-byte match then copies bytes 11 and 12.
  EXPECT_EQ(RunExplode(s.Bytes()).output, Bytes({'1', '2', '3', '1', '2', '3', '1', '2', '3',
                                                 '1', '2', '3', '1', '3', '1'}));
}

TEST(Explode, FarthestDistanceOfEachDictionarySize) {
  for (unsigned k = 4; k <= 6; ++k) {
    const unsigned far = 64u << k;
    StreamAssembler s(0, k);
    Bytes expected;
    for (unsigned i = 0; i < far; ++i) {
      const uint8_t c = static_cast<uint8_t>(i * 7 + i / 256);
      s.Literal(c);
      expected.push_back(c);
    }
    s.Match(5, far);
    s.Match(2, 256);
    for (int i = 0; i < 5; ++i) expected.push_back(expected[expected.size() - far]);
    for (int i = 0; i < 2; ++i) expected.push_back(expected[expected.size() - 256]);
    s.End();
    const ExplodeRun run = RunExplode(s.Bytes());
    EXPECT_EQ(run.result, kExplodeOk) << k;
    EXPECT_EQ(run.output, expected) << k;
  }
}

TEST(Explode, HistoryBeforeTheFirstByteReadsAsZeros) {
  StreamAssembler s(0, 6);
  s.Match(3, 4096);
  s.Literal('z');
  s.Match(4, 2);
  s.End();
  EXPECT_EQ(RunExplode(s.Bytes()).output, Bytes({0, 0, 0, 'z', 0, 'z', 0, 'z'}));
}

TEST(Explode, EveryCodedLiteralDecodes) {
  StreamAssembler s(1, 6);
  Bytes expected;
  for (int round = 0; round < 3; ++round) {
    for (int c = 0; c < 256; ++c) {
      const uint8_t byte = static_cast<uint8_t>(c * (2 * round + 1));
      s.Literal(byte);
      expected.push_back(byte);
    }
  }
  s.End();
  const ExplodeRun run = RunExplode(s.Bytes());
  EXPECT_EQ(run.result, kExplodeOk);
  EXPECT_EQ(run.output, expected);
}

// The decoder keeps 8 bits of look-ahead, so it always wants one byte past the last bit of the
// end code: a read that gives 0 there is the normal end, and a byte that is there is taken
// without any further read.
TEST(Explode, LookAheadAsksForOneByteBeyondTheStream) {
  StreamAssembler s(0, 6);
  for (int i = 0; i < 3637; ++i) s.Literal(static_cast<uint8_t>(i));
  s.End();
  ASSERT_EQ(s.Bytes().size(), 4096u);
  const ExplodeRun run = RunExplode(s.Bytes());
  EXPECT_EQ(run.result, kExplodeOk);
  EXPECT_EQ(run.reads, std::vector<ReadCall>({{2048, 2048}, {2048, 2048}, {2048, 0}}));
  EXPECT_EQ(run.writes, std::vector<unsigned>({3637}));
}

TEST(Explode, NeverReadsAheadOfTheLookAheadByte) {
  StreamAssembler s(0, 6);
  for (int i = 0; i < 3636; ++i) s.Literal(static_cast<uint8_t>(i));
  s.End();
  Bytes padded = s.Bytes();
  ASSERT_EQ(padded.size(), 4095u);
  padded.push_back(0);
  const ExplodeRun run = RunExplode(padded);
  EXPECT_EQ(run.result, kExplodeOk);
  EXPECT_EQ(run.reads, std::vector<ReadCall>({{2048, 2048}, {2048, 2048}}));
  EXPECT_EQ(run.writes, std::vector<unsigned>({3636}));
}

TEST(Explode, ShortStreamReadsOnceMoreOrNotAtAll) {
  StreamAssembler s(0, 6);
  for (int i = 0; i < 8; ++i) s.Literal('e');
  s.End();
  const Bytes bytes = s.Bytes();
  const unsigned size = static_cast<unsigned>(bytes.size());
  EXPECT_EQ(RunExplode(bytes).reads, std::vector<ReadCall>({{2048, size}, {2048, 0}}));
  Bytes padded = bytes;
  padded.push_back(0x5A);
  EXPECT_EQ(RunExplode(padded).reads, std::vector<ReadCall>({{2048, size + 1}}));
}

TEST(Explode, ShortReadsGiveTheSameOutput) {
  StreamAssembler s(1, 5);
  Bytes expected;
  for (int i = 0; i < 3000; ++i) {
    const uint8_t c = static_cast<uint8_t>("the quick brown fox "[i % 20]);
    s.Literal(c);
    expected.push_back(c);
    if (i % 9 == 8 && i >= 20) {
      s.Match(3 + i % 40, 20);
      for (int j = 0; j < 3 + i % 40; ++j) expected.push_back(expected[expected.size() - 20]);
    }
  }
  s.End();
  for (unsigned chunk : {2048u, 1000u, 7u, 1u}) {
    // The first read must exceed 4 bytes; later reads may give as little as 1.
    const ExplodeRun run = RunExplode(s.Bytes(), chunk, 0, 5);
    EXPECT_EQ(run.result, kExplodeOk) << chunk;
    EXPECT_EQ(run.output, expected) << chunk;
  }
}

TEST(Explode, WorkAreaNeedsNoAlignment) {
  for (unsigned misalign = 0; misalign < 8; ++misalign) {
    const ExplodeRun run = RunExplode(RunOfQ(9000), 2048, misalign);
    EXPECT_EQ(run.result, kExplodeOk);
    EXPECT_EQ(run.output, Bytes(9000, 'q'));
  }
}

}  // namespace
}  // namespace qxi
