// Writing QXZ entries: compresses a file's bytes and lays out its entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/implode/implode.h"
#include "archive/qxz_entry.h"

namespace qxi {

/// Appends to *out one entry for info with packed_size bytes of implode data. info.crc and
/// info.size are written as given. Throws std::invalid_argument for a name that
/// IsSafeEntryName refuses or that holds a NUL, and std::length_error when the entry length
/// does not fit in 32 bits. *out is unchanged when it throws.
void AppendQxzEntry(const QxzFileInfo& info, const uint8_t* packed, size_t packed_size,
                    std::vector<uint8_t>* out);

/// Compresses data[0, size) with options and appends its entry to *out, filling in the CRC
/// and the size (info's own are ignored). Returns the number of implode bytes. Throws as
/// AppendQxzEntry and Implode do.
size_t AppendQxzFile(const QxzFileInfo& info, const uint8_t* data, size_t size,
                     const ImplodeOptions& options, std::vector<uint8_t>* out);

}  // namespace qxi
