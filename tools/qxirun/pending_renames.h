// The operations waiting for the next restart: the lines of [Rename] in WININIT.INI.
#pragma once

namespace qxirun {

/// The number of lines in the [Rename] section of WININIT.INI in the Windows directory
/// (replacements and NUL= deletions alike); 0 when the file or the section is missing.
int CountPendingRenames();

}  // namespace qxirun
