// Gathering the files to pack: command-line paths below a base directory, directories
// recursed in byte order of their names, each file given its entry name.
#pragma once

#include <string>
#include <vector>

namespace qxzpack {

struct SourceFile {
  std::string disk_path;   ///< where to read it
  std::string entry_name;  ///< relative to the base directory, parts joined by backslashes
};

/// The files named by paths (relative to base_dir, or absolute inside it), in the order
/// given, each directory replaced by the files below it in sorted order. Throws
/// std::runtime_error naming the path for a missing path, a path outside base_dir, a name
/// an archive cannot hold, a file that is neither regular nor a directory, a link to a
/// directory, or two paths giving the same entry name (compared ignoring ASCII case, as
/// Windows would).
std::vector<SourceFile> CollectSourceFiles(const std::string& base_dir,
                                           const std::vector<std::string>& paths);

}  // namespace qxzpack
