// ExtractQXZ: unpacks a QXZ archive into a destination directory. Each entry is installed
// under the priority rule of the priorities store, the host's progress follows the
// decompressed bytes, and a destination in use is replaced at restart.
#pragma once

#include "engine/command_row.h"

namespace qxi {
namespace archive_commands {

inline constexpr PathAt kArchive{0};
inline constexpr PathAt kDestinationDir{1};

/// "ExtractQXZ": extracts every entry of the archive kArchive into kDestinationDir, in file
/// order. An empty archive extracts nothing. Raises File::Except when the archive cannot be
/// opened or read, and the first failure of an entry, which ends the extraction (entries
/// extracted before it stay): NCompress::Except kInvalidFormat naming an entry whose name is
/// not a relative path inside the destination or that reaches past the archive's end (nothing
/// is written then); the archive's short-read error when it ends inside a header or a name;
/// QXErr kCrcError when the data does not decode to the stored CRC (the output is removed);
/// QXErr kRunTimeError when a destination can never be written (a name Windows refuses, a
/// path too long, a folder that cannot be made) or cannot be handed to the restart;
/// RegKey::Except when the priorities store cannot be written.
void ExtractQXZ(const ParamList& params);

inline constexpr CommandRow kRows[] = {
    {"FileCopy", "ExtractQXZ", {kArchive("Source path"), kDestinationDir("Destination dir")},
     QXI_ACTION(ExtractQXZ), Progress::kOwn},
};

}  // namespace archive_commands
}  // namespace qxi
