#include "archive/qxz_reader.h"

#include "archive/ncompress_except.h"
#include "archive/qxz_entry_name.h"

namespace qxi {
namespace {

uint32_t LoadLittle32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

[[noreturn]] void RaiseInvalid() { throw NCompress::Except(NCompress::kInvalidFormat); }

}  // namespace

QxzEntry ReadQxzEntryFields(ByteSource& source) {
  QxzEntry entry;
  entry.offset = source.Tell();

  uint8_t header[kQxzFixedHeaderSize];
  source.ReadExact(header, 4);
  if (LoadLittle32(header) != kQxzMagic) RaiseInvalid();
  source.ReadExact(header + 4, kQxzFixedHeaderSize - 4);
  entry.entry_length = LoadLittle32(header + 4);
  entry.info.crc = LoadLittle32(header + 8);
  entry.info.size = LoadLittle32(header + 12);
  entry.info.attributes = LoadLittle32(header + 16);
  entry.info.file_time = uint64_t{LoadLittle32(header + 20)} |
                         uint64_t{LoadLittle32(header + 24)} << 32;
  entry.info.priority = LoadLittle32(header + 28);

  // The name and its NUL must lie inside the entry: otherwise the next entry would start at
  // or before this one's name, and a reader walking the archive could go round for ever.
  const uint64_t name_room = entry.entry_length < kQxzLengthBeforeName
                                 ? 0
                                 : uint64_t{entry.entry_length} - kQxzLengthBeforeName;
  for (;;) {
    if (entry.info.name.size() + 1 > name_room) RaiseInvalid();
    char c;
    source.ReadExact(&c, 1);
    if (c == '\0') break;
    entry.info.name.push_back(c);
  }

  entry.data_offset = source.Tell();
  entry.data_size = entry.next_offset() - entry.data_offset;
  return entry;
}

void CheckQxzEntry(const QxzEntry& entry, uint64_t source_size) {
  if (entry.next_offset() > source_size) RaiseInvalid();
  if (!IsSafeEntryName(entry.info.name)) RaiseInvalid();
}

QxzEntry ReadQxzEntry(ByteSource& source) {
  QxzEntry entry = ReadQxzEntryFields(source);
  CheckQxzEntry(entry, source.Size());
  return entry;
}

}  // namespace qxi
