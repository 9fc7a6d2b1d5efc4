// Helpers for the QXZ tests and the reader's fuzz target: known archive bytes, a hand-laid
// entry builder independent of the writer, an output that collects bytes and block sizes,
// and a source that remembers how far it was read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/byte_source.h"
#include "archive/qxz_entry_decoder.h"

namespace qxi {
namespace testing_support {

/// The complete one-entry archive for A.TXT holding the byte 0x41, attributes 0x20, the file
/// time 1998-05-21 00:00 UTC and priority 0: 44 bytes, spelled out byte by byte.
extern const std::vector<uint8_t> kOneLetterArchive;

/// Its file time as one 64-bit count.
constexpr uint64_t kOneLetterFileTime = 0x01BD844B65B4C000u;

/// The shortest implode stream: the empty file (mode 0, k = 6, end code), 4 bytes.
extern const std::vector<uint8_t> kEmptyStream;

/// Lays out one entry field by field; a negative entry_length means the correct one.
std::vector<uint8_t> HandLaidEntry(const std::string& name, const std::vector<uint8_t>& data,
                                   uint32_t crc, int64_t entry_length = -1);

/// Collects everything written and the size of each block.
class CollectingOutput : public QxzOutput {
 public:
  void Write(const char* data, size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
    blocks.push_back(size);
  }
  std::vector<uint8_t> bytes;
  std::vector<size_t> blocks;
};

/// A MemoryByteSource that records the furthest position any read reached.
class WatchedSource : public MemoryByteSource {
 public:
  using MemoryByteSource::MemoryByteSource;
  size_t Read(void* buffer, size_t count) override;
  uint64_t furthest = 0;
};

}  // namespace testing_support
}  // namespace qxi
