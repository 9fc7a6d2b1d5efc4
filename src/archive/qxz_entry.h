// The QXZ archive format: a plain sequence of entries with no archive header or trailer, each
// a fixed little-endian header, a NUL-terminated name and the file's data in the implode
// format.
//
//   offset  size  field
//        0     4  magic 67 D4 A1 BE
//        4     4  entry length: bytes from offset 4 to the next entry (28 + name + 1 + data)
//        8     4  CRC-32 of the decompressed data
//       12     4  decompressed size (progress display only)
//       16     4  Win32 file attributes of the extracted file
//       20     8  FILETIME, low half first (creation and last-access time of the file)
//       28     4  priority, 0 for none
//       32 n + 1  name relative to the destination directory, backslashes between parts
//   33 + n  rest  implode data
#pragma once

#include <cstdint>
#include <string>

namespace qxi {

constexpr uint32_t kQxzMagic = 0xBEA1D467;
/// Bytes from the magic to the name.
constexpr uint32_t kQxzFixedHeaderSize = 32;
/// Bytes counted by the entry length ahead of the name (the fixed header less magic and
/// length fields).
constexpr uint32_t kQxzLengthBeforeName = 28;

/// What an entry says about its file.
struct QxzFileInfo {
  std::string name;         ///< relative path with backslashes, without the NUL
  uint32_t crc = 0;         ///< CRC-32 of the decompressed data
  uint32_t size = 0;        ///< decompressed size
  uint32_t attributes = 0;  ///< Win32 FILE_ATTRIBUTE_* flags
  uint64_t file_time = 0;   ///< FILETIME as one 64-bit count of 100 ns since 1601
  uint32_t priority = 0;    ///< 0 for none
};

/// One entry as found in an archive: its file and where its parts lie.
struct QxzEntry {
  QxzFileInfo info;
  uint64_t offset = 0;        ///< of the magic
  uint32_t entry_length = 0;  ///< as stored
  uint64_t data_offset = 0;   ///< first byte of the implode data
  uint64_t data_size = 0;     ///< bytes of implode data up to the next entry

  /// Where the next entry begins: entry_length bytes after the length field.
  uint64_t next_offset() const { return offset + 4 + entry_length; }
};

}  // namespace qxi
