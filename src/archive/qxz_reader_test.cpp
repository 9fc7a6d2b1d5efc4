// Reading and decoding QXZ entries: exact fields, exact positions, and every refusal with its
// code and its string-table text.
#include "archive/qxz_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/implode/explode.h"
#include "archive/ncompress_except.h"
#include "archive/qxz_entry_decoder.h"
#include "archive/qxz_test_support.h"
#include "engine/qx_err.h"
#include "engine/message_source.h"

namespace qxi {
namespace {

using Bytes = std::vector<uint8_t>;
using testing_support::CollectingOutput;
using testing_support::HandLaidEntry;
using testing_support::kEmptyStream;
using testing_support::kOneLetterArchive;
using testing_support::kOneLetterFileTime;
using testing_support::WatchedSource;

std::string InvalidFormatText() {
  char text[256];
  EXPECT_GT(LoadMessageText(kInvalidQxz, text, sizeof text), 0);
  return text;
}

// Runs ReadQxzEntry on bytes and returns the code it raised, or 0.
uint32_t ReadFailureCode(const Bytes& bytes) {
  MemoryByteSource source(bytes);
  try {
    ReadQxzEntry(source);
  } catch (const NCompress::Except& e) {
    return e.code();
  }
  return 0;
}

// The one entry of some bytes, read and decoded.
struct DecodedEntry {
  QxzEntry entry;
  QxzDecodeResult result;
  CollectingOutput output;
};

DecodedEntry DecodeOnlyEntry(const Bytes& bytes) {
  MemoryByteSource source(bytes);
  DecodedEntry decoded;
  decoded.entry = ReadQxzEntry(source);
  decoded.result = DecodeQxzEntry(source, decoded.entry, decoded.output);
  return decoded;
}

TEST(QxzReader, ReadsTheOneLetterArchiveFieldByField) {
  MemoryByteSource source(kOneLetterArchive);
  const QxzEntry entry = ReadQxzEntry(source);
  EXPECT_EQ(entry.offset, 0u);
  EXPECT_EQ(entry.entry_length, 40u);
  EXPECT_EQ(entry.info.crc, 0xD3D99E8Bu);
  EXPECT_EQ(entry.info.size, 1u);
  EXPECT_EQ(entry.info.attributes, 0x20u);
  EXPECT_EQ(entry.info.file_time, kOneLetterFileTime);
  EXPECT_EQ(entry.info.priority, 0u);
  EXPECT_EQ(entry.info.name, "A.TXT");
  EXPECT_EQ(entry.data_offset, 38u);
  EXPECT_EQ(entry.data_size, 6u);
  EXPECT_EQ(entry.next_offset(), 44u);
  EXPECT_EQ(source.Tell(), 38u);

  CollectingOutput output;
  const QxzDecodeResult result = DecodeQxzEntry(source, entry, output);
  EXPECT_EQ(result.explode_result, kExplodeOk);
  EXPECT_EQ(result.crc, 0xD3D99E8Bu);
  EXPECT_TRUE(result.Matches(entry));
  EXPECT_EQ(output.bytes, Bytes({0x41}));
  EXPECT_EQ(output.blocks, std::vector<size_t>({1}));
  EXPECT_EQ(source.Tell(), 44u);
}

TEST(QxzReader, RefusesAMissingMagicWithTheInvalidFormatText) {
  Bytes bytes = kOneLetterArchive;
  bytes[3] = 0xBF;
  MemoryByteSource source(bytes);
  try {
    ReadQxzEntry(source);
    FAIL() << "no exception";
  } catch (const NCompress::Except& e) {
    EXPECT_EQ(e.code(), 0x20000009u);
    EXPECT_EQ(std::string(e.what()), InvalidFormatText());
    EXPECT_EQ(std::string(e.what()), "Invalid QXZ file format");
  }
  // Only the magic was read.
  EXPECT_EQ(source.Tell(), 4u);
}

TEST(QxzReader, RefusesLengthsThatDoNotReachPastTheName) {
  // 28 + "A.TXT" + NUL = 34 is the least length: anything shorter would put the next entry
  // at or before this entry's name.
  for (uint32_t length : {0u, 1u, 4u, 27u, 28u, 29u, 33u}) {
    EXPECT_EQ(ReadFailureCode(HandLaidEntry("A.TXT", {}, 0, length)), NCompress::kInvalidFormat)
        << length;
  }
  // Exactly up to the NUL: an entry with no data, which the reader accepts (decoding fails).
  const Bytes no_data = HandLaidEntry("A.TXT", {}, 0, 34);
  MemoryByteSource source(no_data);
  const QxzEntry entry = ReadQxzEntry(source);
  EXPECT_EQ(entry.data_size, 0u);
  EXPECT_EQ(entry.next_offset(), 38u);
}

TEST(QxzReader, RefusesLengthsThatReachPastTheEnd) {
  EXPECT_EQ(ReadFailureCode(HandLaidEntry("A.TXT", kEmptyStream, 0, 28 + 6 + 5)),
            NCompress::kInvalidFormat);
  EXPECT_EQ(ReadFailureCode(HandLaidEntry("A.TXT", kEmptyStream, 0, 0xFFFFFFFFu)),
            NCompress::kInvalidFormat);
}

TEST(QxzReader, RefusesNamesOutsideTheDestination) {
  for (const char* name : {"..\\A.TXT", "C:\\A.TXT", "\\A.TXT", "SUB\\..\\..\\A", "", "D:A"}) {
    EXPECT_EQ(ReadFailureCode(HandLaidEntry(name, kEmptyStream, 0)), NCompress::kInvalidFormat)
        << name;
  }
  EXPECT_EQ(ReadFailureCode(HandLaidEntry("SUB\\A.TXT", kEmptyStream, 0)), 0u);

  // The fields alone still read, so that a report can name the entry.
  const Bytes unsafe = HandLaidEntry("..\\A.TXT", kEmptyStream, 0);
  MemoryByteSource source(unsafe);
  const QxzEntry entry = ReadQxzEntryFields(source);
  EXPECT_EQ(entry.info.name, "..\\A.TXT");
  EXPECT_EQ(entry.data_offset, 41u);
  EXPECT_THROW(CheckQxzEntry(entry, unsafe.size()), NCompress::Except);
}

TEST(QxzReader, ArchiveEndingInsideHeaderOrNameIsCorrupt) {
  // Cut inside the magic, the fixed fields and the name.
  for (size_t cut : {size_t{2}, size_t{4}, size_t{20}, size_t{31}, size_t{32}, size_t{35}}) {
    Bytes bytes(kOneLetterArchive.begin(), kOneLetterArchive.begin() + cut);
    EXPECT_EQ(ReadFailureCode(bytes), NCompress::kErrorFileCorrupt) << cut;
  }
  // Cut inside the data: the header is whole but the entry runs past the end.
  Bytes bytes(kOneLetterArchive.begin(), kOneLetterArchive.end() - 1);
  EXPECT_EQ(ReadFailureCode(bytes), NCompress::kInvalidFormat);
}

TEST(QxzReader, EntriesFollowEachOtherByTheirLengthWhateverTheDecoderRead) {
  Bytes archive = HandLaidEntry("SUB\\A.TXT", {0x00, 0x06, 0x82, 0x02, 0xFE, 0x01}, 0xD3D99E8B);
  const Bytes second = HandLaidEntry("B.TXT", kEmptyStream, 0);
  archive.insert(archive.end(), second.begin(), second.end());

  WatchedSource source(archive);
  const QxzEntry first = ReadQxzEntry(source);
  EXPECT_EQ(first.info.name, "SUB\\A.TXT");
  CollectingOutput first_output;
  EXPECT_TRUE(DecodeQxzEntry(source, first, first_output).Matches(first));
  // The decoder's look-ahead stopped at the entry's end.
  EXPECT_EQ(source.furthest, first.next_offset());
  EXPECT_EQ(source.Tell(), first.next_offset());

  const QxzEntry next = ReadQxzEntry(source);
  EXPECT_EQ(next.offset, first.next_offset());
  EXPECT_EQ(next.info.name, "B.TXT");
  CollectingOutput next_output;
  const QxzDecodeResult result = DecodeQxzEntry(source, next, next_output);
  EXPECT_TRUE(result.Matches(next));
  EXPECT_TRUE(next_output.bytes.empty());
  EXPECT_EQ(next_output.blocks, std::vector<size_t>({0}));
  EXPECT_EQ(source.Tell(), archive.size());
}

TEST(QxzReader, EmptyFileDecodesAsLastEntryAndBeforeAnother) {
  // Four bytes of data: the decoder's first read must still see more than four.
  const Bytes last = HandLaidEntry("E", kEmptyStream, 0);
  const DecodedEntry decoded = DecodeOnlyEntry(last);
  EXPECT_EQ(decoded.result.explode_result, kExplodeOk);
  EXPECT_EQ(decoded.result.crc, 0u);
  EXPECT_TRUE(decoded.result.Matches(decoded.entry));

  Bytes two = last;
  two.insert(two.end(), kOneLetterArchive.begin(), kOneLetterArchive.end());
  MemoryByteSource two_source(two);
  const QxzEntry first = ReadQxzEntry(two_source);
  CollectingOutput first_output;
  EXPECT_TRUE(DecodeQxzEntry(two_source, first, first_output).Matches(first));
  EXPECT_EQ(ReadQxzEntry(two_source).info.name, "A.TXT");
}

TEST(QxzReader, WrongCrcAndCutDataAreReportedNotHidden) {
  const DecodedEntry wrong_crc =
      DecodeOnlyEntry(HandLaidEntry("A", {0x00, 0x06, 0x82, 0x02, 0xFE, 0x01}, 0x12345678));
  EXPECT_EQ(wrong_crc.result.explode_result, kExplodeOk);
  EXPECT_EQ(wrong_crc.result.crc, 0xD3D99E8Bu);
  EXPECT_FALSE(wrong_crc.result.Matches(wrong_crc.entry));

  // The end code cut off: the length field says so, the decoder runs out and says so.
  const DecodedEntry cut =
      DecodeOnlyEntry(HandLaidEntry("A", {0x00, 0x06, 0x82, 0x02}, 0xD3D99E8B));
  EXPECT_EQ(cut.result.explode_result, kExplodeTruncated);
  EXPECT_FALSE(cut.result.Matches(cut.entry));
  EXPECT_EQ(cut.output.bytes, Bytes({0x41}));
}

TEST(NCompressExcept, NamesTheRefusedEntryInQuotesAndKeepsItInCopies) {
  const NCompress::Except e(NCompress::kInvalidFormat, "..\\A.TXT");
  EXPECT_EQ(std::string(e.what()), InvalidFormatText() + " \"..\\A.TXT\"");
  NCompress::Except copy(NCompress::kErrorFileCorrupt);
  copy = e;
  EXPECT_EQ(copy.code(), NCompress::kInvalidFormat);
  EXPECT_STREQ(copy.what(), e.what());
  // A name too long for the error is cut, never overflowing.
  const NCompress::Except long_name(NCompress::kInvalidFormat, std::string(1000, 'n').c_str());
  EXPECT_EQ(std::string(long_name.what()),
            InvalidFormatText() + " \"" + std::string(259, 'n') + "\"");
}

TEST(NCompressExcept, OtherCodesNameTheCode) {
  const NCompress::Except e(NCompress::kErrorFileCorrupt);
  char system_text[512];
  if (LoadWin32ErrorText(NCompress::kErrorFileCorrupt, kMessageFlagsForErrors, system_text,
                     sizeof system_text)) {
    EXPECT_EQ(std::string(e.what()), system_text);
  } else {
    EXPECT_EQ(std::string(e.what()), "Error code 1392");
  }
  const NCompress::Except copy = e;
  EXPECT_EQ(copy.code(), 1392u);
  EXPECT_STREQ(copy.what(), e.what());
}

}  // namespace
}  // namespace qxi
