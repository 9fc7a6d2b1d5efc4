// The files a script names, found as the engine finds them on the machine that runs it. A
// relative path starts from the host's current folder, which is the folder of the script the
// host runs; absolute paths and paths with folder macros name files of the target machine,
// which a check cannot see.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qxicheck {

/// Whether `text`, a path as a script line gives it, is relative: no drive letter ("C:") and
/// not from the root of a drive or share ("\x", "\\server").
bool IsRelativePath(std::string_view text);

/// The folder of the script at `path`, as given (empty for the current folder).
std::string FolderOf(const std::string& path);

/// A relative path of a script, found from `folder` on this machine.
struct LocatedPath {
  std::string path;      ///< to open on this machine and to show
  bool exists = false;   ///< there is a file or folder at `path`
  bool is_file = false;  ///< and it is a file
};

/// Where relative `text` leads from `folder` as Windows reads it: backslashes and slashes
/// separate parts, "." and ".." are taken by their text, letter case is ignored, and
/// trailing dots and blanks of a part do not count.
LocatedPath Locate(const std::string& folder, std::string_view text);

/// The parts of relative `text` after "." and ".." are taken by their text (a ".." that
/// climbs above the start stays); `trim` drops trailing dots and blanks of each part.
std::vector<std::string> PathParts(std::string_view text, bool trim);

/// A text equal for two paths of the same file (as far as this machine can tell).
std::string PathKey(const std::string& path);

}  // namespace qxicheck
