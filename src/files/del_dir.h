// DelDir: removes a directory with everything in it, depth first, the innermost entries
// first. The sweep always ends: the first entry that cannot be removed ends it with an error.
#pragma once

#include <string>

namespace qxi {

/// Removes every entry of `directory` (subdirectories with their own contents first), then
/// the directory itself. Raises QXErr kRunTimeError with the Win32 error of the first removal
/// that fails (a read-only or open file, a directory that stays not empty; 2 or 3 for a
/// missing directory); what was removed before stays removed. A link to a directory is
/// removed as a link: what it points to is left alone. An empty name names no directory
/// (ERROR_PATH_NOT_FOUND) rather than the root of the current drive.
void DeleteDirectoryTree(const std::string& directory);

}  // namespace qxi
