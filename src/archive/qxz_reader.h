// Reading QXZ entry headers from a ByteSource, with the checks that keep a damaged or hostile
// archive from making the reader loop or write outside the destination.
#pragma once

#include "archive/byte_source.h"
#include "archive/qxz_entry.h"

namespace qxi {

/// Reads the entry header and name at the source's position and leaves the position at the
/// entry's data. Raises NCompress::Except kInvalidFormat when the entry does not begin with
/// the magic or its length does not reach past its name; raises the source's short-read
/// error (ByteSource::ReadExact) when the source ends inside the header or the name. Does
/// not look at the name or the data (CheckQxzEntry does).
QxzEntry ReadQxzEntryFields(ByteSource& source);

/// Raises NCompress::Except kInvalidFormat when entry reaches past source_size or its name is
/// not safe to extract (IsSafeEntryName).
void CheckQxzEntry(const QxzEntry& entry, uint64_t source_size);

/// ReadQxzEntryFields and then CheckQxzEntry: an entry that is safe to decode and extract.
QxzEntry ReadQxzEntry(ByteSource& source);

}  // namespace qxi
