// The product's entry under Add/Remove Programs:
// Software\Microsoft\Windows\CurrentVersion\Uninstall\NAME, machine-wide (HKLM) or for the
// user alone (HKCU), always in the registry's 32-bit view, where the 32-bit setup writes it
// on 64-bit Windows (the 64-bit build, which only the tests run, writes the same place).
#pragma once

#include <cstdint>
#include <string>

#include "bundle_settings.h"

namespace qxistub {

/// What the entry says beyond the product's settings.
struct UninstallEntry {
  std::string install_location;  ///< ANSI, as the engine expanded it
  std::string uninstaller;       ///< the full path of uninstall.exe, ANSI
  uint32_t estimated_size_kb = 0;
  bool has_icon = false;
};

/// Writes (or rewrites) the entry. Throws StubError with the system's reason.
void WriteUninstallEntry(const qxibundle::BundleSettings& settings, const UninstallEntry& entry);

/// Deletes the entry; a missing entry is not an error. Throws StubError otherwise.
void DeleteUninstallEntry(const qxibundle::BundleSettings& settings);

}  // namespace qxistub
