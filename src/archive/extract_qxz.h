// ExtractQXZ: unpacks a QXZ archive into a destination directory. Each entry is installed
// under the priority rule of the priorities store, the host's progress follows the
// decompressed bytes, and a destination that cannot be written is replaced at restart.
#pragma once

#include <string>

#include "archive/byte_source.h"
#include "engine/command_row.h"

namespace qxi {

namespace extract_line {
inline constexpr PathAt kArchive{0};
inline constexpr PathAt kDestinationDir{1};
}  // namespace extract_line

/// Extracts every entry of the archive at `archive_path` into `destination_dir`, in file
/// order. Raises File::Except when the archive cannot be opened or read, and the first
/// failure of an entry (see ExtractEntry), which ends the extraction; entries extracted
/// before it stay. An empty archive extracts nothing.
void ExtractArchive(const std::string& archive_path, const std::string& destination_dir);

/// Extracts the entry at `archive`'s position into `destination_dir` and leaves the position
/// at the next entry. Raises NCompress::Except kInvalidFormat naming the entry when its
/// name is not a relative path inside the destination or it reaches past the archive's end
/// (nothing is written then); the archive's short-read error when it ends inside the header
/// or the name; QXErr kCrcError when the data does not decode to the stored CRC (the output
/// file is removed); RegKey::Except when the priorities store cannot be written.
void ExtractEntry(ByteSource& archive, const std::string& destination_dir);

/// "ExtractQXZ": ExtractArchive of kArchive into kDestinationDir.
void ExtractQXZ(const ParamList& params);

inline constexpr CommandRow kArchiveCommands[] = {
    {"FileCopy", "ExtractQXZ",
     {extract_line::kArchive("Source path"), extract_line::kDestinationDir("Destination dir")},
     Progress::kOwn, QXI_ACTION(ExtractQXZ)},
};

}  // namespace qxi
