// Walking an archive entry by entry with the engine's own reader, and the error that names
// the archive, the entry and where it lies.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "archive/qxz_entry.h"
#include "archive_file.h"

namespace qxzpack {

/// A failure inside an archive: "ARCHIVE: entry N "NAME" at offset X: what" (the name left
/// out when the header could not be read).
class EntryError : public std::runtime_error {
 public:
  EntryError(const std::string& archive, size_t index, const std::string& name,
             uint64_t offset, const std::string& what);
};

/// Calls visit(index, entry) for every entry in file order, the source positioned at the
/// entry's data; visit must leave it at entry.next_offset() (DecodeQxzEntry does). A header
/// the reader refuses raises EntryError and ends the walk. Returns the number of entries.
size_t WalkArchive(ArchiveFileSource& source, const std::string& archive,
                   const std::function<void(size_t, const qxi::QxzEntry&)>& visit);

/// The text for a decoded entry that did not match: the CRC-error text with the decoder's
/// finding.
std::string DecodeFailureText(unsigned explode_result, uint32_t stored_crc,
                              uint32_t computed_crc);

}  // namespace qxzpack
