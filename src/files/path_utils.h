// Path and directory utilities shared by the file commands, the archive reader and the
// shortcut command. Paths are ANSI texts with backslashes; folder macros are already expanded.
#pragma once

#include <cstdint>
#include <string>

namespace qxi {

/// `directory`, a backslash unless it already ends in one, then `name`.
std::string JoinPath(const std::string& directory, const std::string& name);

/// The part of `path` before its last backslash; the whole path when it has none.
std::string DirectoryOf(const std::string& path);

/// Creates every directory along `path` (failures, such as existing ones, are ignored), then
/// sets `attributes` on the last. True when setting the attributes succeeded. Never raises.
bool MakeDirectoryChain(const std::string& path, uint32_t attributes);

/// A new unique name "QXI....TMP" in the temporary directory; the file the system creates to
/// reserve it is deleted again. Raises QXErr kRunTimeError with the Win32 error.
std::string MakeTempFileName();

/// False when the attributes query fails with ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND
/// (a missing folder on the way); any other outcome counts as present. Never raises.
bool PathExists(const std::string& path);

}  // namespace qxi
