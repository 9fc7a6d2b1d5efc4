// CRC-32 of the archive entries: the reflected CRC with polynomial 0xEDB88320, the checksum
// zip archives and zlib use.
#pragma once

#include <cstdint>

namespace qxi {

/// Folds *size bytes of buffer into the running value *crc and returns the new value; *crc is
/// not written. Start with 0xFFFFFFFF and invert the last value to get the data's CRC-32.
uint32_t Crc32Update(const void* buffer, const unsigned* size, const uint32_t* crc);

}  // namespace qxi
