// The resource section qxibundle gives the stub: the three-level directory (type, id,
// language) that Windows reads for the manifest, the version record and the icons.
#pragma once

#include <cstdint>
#include <vector>

namespace qxibundle {

/// Resource types used.
constexpr uint16_t kResourceIcon = 3;
constexpr uint16_t kResourceGroupIcon = 14;
constexpr uint16_t kResourceVersion = 16;
constexpr uint16_t kResourceManifest = 24;
/// English (United States), the language of every resource qxibundle writes.
constexpr uint16_t kLanguageEnglishUs = 0x0409;

/// One resource, named by number.
struct ResourceItem {
  uint16_t type = 0;
  uint16_t id = 0;
  uint16_t language = kLanguageEnglishUs;
  std::vector<uint8_t> data;
};

/// The bytes of a resource section that will be loaded at `section_rva`: the directories
/// sorted by type, id and language as Windows searches them, then the data entries, then
/// each resource's data on an 8-byte boundary. Two items with the same type, id and language
/// are a programming error (std::invalid_argument).
std::vector<uint8_t> BuildResourceSection(std::vector<ResourceItem> items, uint32_t section_rva);

}  // namespace qxibundle
