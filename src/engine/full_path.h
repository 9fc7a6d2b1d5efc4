// Completing a path against the current folder, as the system would open it.
#pragma once

#include <string>

namespace qxi {

/// `path` completed against the current folder (GetFullPathNameA); `path` as it stands when
/// the system cannot complete it. Windows builds only.
std::string FullPathOf(const std::string& path);

}  // namespace qxi
