// The product's own resources in a setup program: the application manifest (execution
// level, supported Windows versions, common controls 6, DPI awareness), the version record
// with the product's name, version and publisher, and the icon taken from an .ico file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resource_section.h"
#include "utf16_text.h"

namespace qxibundle {

/// What the author told qxibundle about the product. Texts are UTF-8.
struct ProductFacts {
  std::string name;
  std::string version;
  std::string publisher;
  bool per_user = false;  ///< runs without elevation (asInvoker) instead of as administrator
};

/// The manifest's XML text: requireAdministrator, or asInvoker for a per-user product.
std::string ManifestText(bool per_user);

/// The four 16-bit numbers of a version text: its leading dot-separated decimal numbers (at
/// most four, each below 65536), zeros for the rest. "2.1 beta" gives 2, 1, 0, 0.
void VersionNumbers(const std::string& version, uint16_t numbers[4]);

/// The VS_VERSIONINFO record: file and product version numbers from the version text, and
/// the strings CompanyName, FileDescription ("NAME Setup"), FileVersion, ProductName and
/// ProductVersion, in UTF-16 under US English with code page 1200 (Unicode).
std::vector<uint8_t> VersionRecord(const ProductFacts& facts);

/// The resources of an .ico file: one icon resource per image (ids 1, 2, ...) and the group
/// that lists them (id 1). Throws BundleError when the bytes are not an icon file.
std::vector<ResourceItem> IconResources(const std::vector<uint8_t>& ico);

/// Every resource of a setup: manifest (id 1), version record (id 1), and the icons when
/// `ico` is not empty.
std::vector<ResourceItem> ProductResources(const ProductFacts& facts,
                                           const std::vector<uint8_t>& ico);

}  // namespace qxibundle
