// Which entry names may be extracted: only relative paths that stay inside the destination
// directory.
#pragma once

#include <string>

namespace qxi {

/// True when name is a relative path of one or more parts separated by backslashes (or
/// slashes, which Windows also takes as separators), where no part is empty or made only of
/// dots and blanks (".", "..", "...", ". " all name a parent or the directory itself once
/// Windows strips trailing dots and blanks) or names a device (CON, PRN, AUX, NUL, COM1 to
/// COM9, LPT1 to LPT9, with any extension, in any letter case), and no colon appears (no
/// drive letter, no alternate stream). Refuses the empty name, a leading separator
/// (absolute, UNC, device paths) and a trailing one.
bool IsSafeEntryName(const std::string& name);

}  // namespace qxi
