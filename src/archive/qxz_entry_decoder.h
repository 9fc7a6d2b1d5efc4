// Decoding one QXZ entry's data: Explode over exactly the entry's bytes, with the running
// CRC-32 of the output.
#pragma once

#include <cstddef>
#include <cstdint>

#include "archive/byte_source.h"
#include "archive/qxz_entry.h"

namespace qxi {

/// Receives decompressed output in blocks of 4096 bytes (the last block shorter, possibly
/// empty). May throw; the exception leaves DecodeQxzEntry.
class QxzOutput {
 public:
  virtual ~QxzOutput() = default;
  virtual void Write(const char* data, size_t size) = 0;
};

/// What decoding an entry gave.
struct QxzDecodeResult {
  unsigned explode_result = 0;  ///< an ExplodeResult; anything but kExplodeOk is a failure
  uint32_t crc = 0;             ///< CRC-32 of everything written

  /// True when the stream ended properly and its CRC is the entry's.
  bool Matches(const QxzEntry& entry) const {
    return explode_result == 0 && crc == entry.info.crc;
  }
};

/// Decodes the data of entry (as ReadQxzEntry gave it) from source into output and leaves the
/// source at the next entry. The decoder sees the entry's data followed by one zero byte and
/// nothing after it, so its look-ahead never takes bytes of the next entry and a stream of 4
/// bytes (an empty file) decodes wherever the entry stands. Errors of the source or the
/// output pass through unchanged.
QxzDecodeResult DecodeQxzEntry(ByteSource& source, const QxzEntry& entry, QxzOutput& output);

}  // namespace qxi
