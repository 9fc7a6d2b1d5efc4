// Whether an archive that an ExtractQXZ line names is one the engine extracts whole: every
// entry header read and checked by the engine's own archive reader, and with `deep` every
// entry decoded and its CRC compared.
#pragma once

#include <string>

namespace qxicheck {

/// What is wrong with the archive at `path` (the first fault found, as qxzpack names it);
/// empty when nothing is. An empty file is a well-formed archive of no entries.
std::string CheckArchiveFile(const std::string& path, bool deep);

}  // namespace qxicheck
