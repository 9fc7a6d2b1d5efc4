// Whether two names lead to one file or folder, asked of the file system: names may differ
// in form (short and long, another drive alias) or in the view they go through (folder
// redirection) and still lead to the same object.
#pragma once

#include <string>

namespace qxi {

/// True when `a` and `b` both exist and are the same file or folder (same volume, same file
/// index); false when either cannot be opened. Never raises.
bool SameFileObject(const std::string& a, const std::string& b);

}  // namespace qxi
