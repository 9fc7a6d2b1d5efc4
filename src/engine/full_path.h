// Completing a path against the current folder, as the system would open it.
#pragma once

#include <string>

namespace qxi {

/// `path` completed to a full path by the system (GetFullPathNameA: ".\\app.dll" names a
/// file of the current folder); a name the system cannot complete is returned as it stands.
/// Never raises. Windows builds only.
std::string FullPathOf(const std::string& path);

}  // namespace qxi
