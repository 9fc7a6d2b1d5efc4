// Reading QXZ entry headers from a ByteSource, with the checks that keep a damaged or hostile
// archive from making the reader loop or write outside the destination.
#pragma once

#include "archive/byte_source.h"
#include "archive/qxz_entry.h"

namespace qxi {

/// Reads the entry header and name at the source's position and leaves the position at the
/// entry's data. Raises NCompress::Except kInvalidFormat when the entry does not begin with
/// the magic, when its length does not reach past its name or reaches past the end of the
/// source, or when its name is not safe (IsSafeEntryName); raises the source's short-read
/// error (ByteSource::ReadExact) when the source ends inside the header or the name.
QxzEntry ReadQxzEntry(ByteSource& source);

}  // namespace qxi
