// The settings entry of a bundle: what the stub needs to know about the product to register
// and remove it. Stored as "Key=value" lines of UTF-8 text, readable in a hex dump.
#pragma once

#include <string>

#include "product_resources.h"

namespace qxibundle {

struct BundleSettings {
  ProductFacts product;
  /// The installation's folder as a script writes it (folder macros allowed), where the
  /// uninstaller is kept; InstallLocation of the uninstall entry.
  std::string install_dir;
};

/// The entry's text. Throws BundleError when a text holds a line break or a NUL.
std::string EncodeSettings(const BundleSettings& settings);

/// Reads the entry's text: every key once, no other line. Throws BundleError otherwise.
BundleSettings DecodeSettings(const std::string& text);

}  // namespace qxibundle
