// Test support: a registry key that nobody may open, made by giving it an access list
// without entries (Wine enforces it). The key's owner keeps the right to put access back.
#pragma once

#include <windows.h>

namespace qxi_test {

/// Creates `path` under `root` when needed and gives it an empty access list or, with `deny`
/// false, none at all (everybody may open it). Adds a test failure when that is refused.
void DenyKeyAccess(HKEY root, const char* path, bool deny);

}  // namespace qxi_test
