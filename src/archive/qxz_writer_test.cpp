// Writing QXZ entries: the one-letter archive byte for byte, round trips through the reader,
// and the names and sizes the writer refuses.
#include "archive/qxz_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "archive/qxz_entry_decoder.h"
#include "archive/qxz_reader.h"
#include "archive/qxz_test_support.h"

namespace qxi {
namespace {

using Bytes = std::vector<uint8_t>;
using testing_support::CollectingOutput;

TEST(QxzWriter, WritesTheOneLetterArchiveByteForByte) {
  QxzFileInfo info;
  info.name = "A.TXT";
  info.attributes = 0x20;
  info.file_time = testing_support::kOneLetterFileTime;
  const uint8_t letter = 0x41;
  Bytes out;
  const size_t packed = AppendQxzFile(info, &letter, 1, ImplodeOptions{}, &out);
  EXPECT_EQ(packed, 6u);
  EXPECT_EQ(out, testing_support::kOneLetterArchive);
}

TEST(QxzWriter, EntriesReadBackWithEveryFieldAndTheirData) {
  Bytes text;
  for (int i = 0; i < 9000; ++i) text.push_back(uint8_t("the quick brown fox\n"[i % 20]));
  Bytes binary;
  uint32_t x = 12345;
  for (int i = 0; i < 5000; ++i) binary.push_back(uint8_t((x = x * 1103515245 + 12345) >> 24));

  Bytes archive;
  QxzFileInfo first{"DIR\\TEXT.TXT", 0, 0, 0x21, 0x0123456789ABCDEFu, 7};
  AppendQxzFile(first, text.data(), text.size(), {ImplodeLiterals::kCoded, 2048}, &archive);
  QxzFileInfo second{"BIN.DAT", 0, 0, 0x80, 1, 0};
  AppendQxzFile(second, binary.data(), binary.size(), {ImplodeLiterals::kBinary, 1024}, &archive);
  QxzFileInfo third{"EMPTY", 0, 0, 0x20, 2, 0xFFFFFFFFu};
  AppendQxzFile(third, nullptr, 0, ImplodeOptions{}, &archive);

  MemoryByteSource source(archive);
  const std::vector<std::pair<QxzFileInfo, const Bytes*>> expected = {
      {first, &text}, {second, &binary}, {third, nullptr}};
  for (const auto& [info, data] : expected) {
    const QxzEntry entry = ReadQxzEntry(source);
    EXPECT_EQ(entry.info.name, info.name);
    EXPECT_EQ(entry.info.attributes, info.attributes);
    EXPECT_EQ(entry.info.file_time, info.file_time);
    EXPECT_EQ(entry.info.priority, info.priority);
    EXPECT_EQ(entry.info.size, data ? data->size() : 0u);
    CollectingOutput output;
    EXPECT_TRUE(DecodeQxzEntry(source, entry, output).Matches(entry)) << info.name;
    EXPECT_EQ(output.bytes, data ? *data : Bytes());
  }
  EXPECT_EQ(source.Tell(), archive.size());
}

TEST(QxzWriter, RefusesUnsafeNamesAndLeavesTheArchiveAlone) {
  Bytes archive = {1, 2, 3};
  const uint8_t packed[] = {0x00, 0x06, 0x01, 0xFF, 0x00};
  for (const char* name : {"..\\A", "C:\\A", "\\A", ""}) {
    QxzFileInfo info;
    info.name = name;
    EXPECT_THROW(AppendQxzEntry(info, packed, sizeof packed, &archive), std::invalid_argument)
        << name;
  }
  QxzFileInfo with_nul;
  with_nul.name = std::string("A\0B", 3);
  EXPECT_THROW(AppendQxzEntry(with_nul, packed, sizeof packed, &archive), std::invalid_argument);
  EXPECT_EQ(archive, Bytes({1, 2, 3}));
}

}  // namespace
}  // namespace qxi
