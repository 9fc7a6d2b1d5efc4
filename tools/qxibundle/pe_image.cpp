// Header reading with a bound check before every field, since the stub reads its own file,
// which may be damaged in any way before its checksum has been looked at.
#include "pe_image.h"

#include <algorithm>
#include <cstring>

#include "bundle_layout.h"

namespace qxibundle {
namespace {

constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kSecurityDirectory = 4;
// Initialised data, readable: what linkers give a resource section.
constexpr uint32_t kResourceCharacteristics = 0x40000040;

[[noreturn]] void NotAnImage() { throw BundleError("the program file is damaged: its headers cannot be read"); }

uint64_t AlignUp(uint64_t value, uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

// Optional-header offsets that differ between PE32 and PE32+.
struct OptionalFields {
  uint32_t directory_count;
  uint32_t directories;
};

OptionalFields FieldsOf(bool pe32_plus) {
  return pe32_plus ? OptionalFields{108, 112} : OptionalFields{92, 96};
}

}  // namespace

PeLayout ReadPeLayout(const uint8_t* data, size_t size) {
  if (size < 64 || data[0] != 'M' || data[1] != 'Z') NotAnImage();
  const uint32_t pe = Get32(data + 60);
  if (pe > size || size - pe < 24 || std::memcmp(data + pe, "PE\0\0", 4) != 0) NotAnImage();
  PeLayout layout;
  layout.machine = Get16(data + pe + 4);
  layout.section_count = Get16(data + pe + 6);
  const uint32_t optional_size = Get16(data + pe + 20);
  const uint32_t optional = pe + 24;
  if (layout.machine != kMachineI386 && layout.machine != kMachineAmd64) NotAnImage();
  if (optional_size < 2 || size - optional < optional_size) NotAnImage();
  const uint16_t magic = Get16(data + optional);
  if (magic != kMagicPe32 && magic != kMagicPe32Plus) NotAnImage();
  layout.pe32_plus = magic == kMagicPe32Plus;
  const OptionalFields fields = FieldsOf(layout.pe32_plus);
  if (optional_size < fields.directories) NotAnImage();
  const uint32_t directory_count = Get32(data + optional + fields.directory_count);
  if (directory_count <= kSecurityDirectory ||
      optional_size < fields.directories + 8 * (kSecurityDirectory + 1)) {
    NotAnImage();
  }
  layout.section_alignment = Get32(data + optional + 32);
  layout.file_alignment = Get32(data + optional + 36);
  layout.size_of_headers = Get32(data + optional + 60);
  layout.checksum_offset = optional + 64;
  layout.resource_entry_offset = optional + fields.directories + 8 * kResourceDirectory;
  layout.security_entry_offset = optional + fields.directories + 8 * kSecurityDirectory;
  layout.section_table_offset = optional + optional_size;
  if (layout.file_alignment == 0 || layout.section_alignment == 0 ||
      (size - layout.section_table_offset) / kSectionHeaderSize < layout.section_count) {
    NotAnImage();
  }
  for (uint16_t i = 0; i < layout.section_count; ++i) {
    const uint8_t* section = data + layout.section_table_offset + i * kSectionHeaderSize;
    const uint64_t virtual_size = Get32(section + 8);
    const uint64_t virtual_address = Get32(section + 12);
    const uint64_t raw_size = Get32(section + 16);
    const uint64_t raw_offset = Get32(section + 20);
    if (raw_size != 0) layout.raw_end = std::max(layout.raw_end, raw_offset + raw_size);
    layout.virtual_end =
        std::max(layout.virtual_end, virtual_address + std::max(virtual_size, raw_size));
  }
  return layout;
}

void AppendResourceSection(std::vector<uint8_t>* image, const char* name,
                           const std::vector<uint8_t>& contents) {
  std::vector<uint8_t>& bytes = *image;
  const PeLayout layout = ReadPeLayout(bytes.data(), bytes.size());
  if (Get32(bytes.data() + layout.resource_entry_offset) != 0) {
    throw BundleError("the stub already has resources");
  }
  if (layout.raw_end != bytes.size()) {
    throw BundleError("the stub has data after its sections (is it stripped?)");
  }
  const uint64_t table_end =
      layout.section_table_offset + uint64_t{layout.section_count} * kSectionHeaderSize;
  const uint8_t* free_header = bytes.data() + table_end;
  if (table_end + kSectionHeaderSize > layout.size_of_headers ||
      std::any_of(free_header, free_header + kSectionHeaderSize, [](uint8_t b) { return b; })) {
    throw BundleError("the stub's headers have no room for one more section");
  }

  const uint64_t raw_offset = AlignUp(layout.raw_end, layout.file_alignment);
  const uint64_t raw_size = AlignUp(contents.size(), layout.file_alignment);
  const uint64_t virtual_address = AlignUp(layout.virtual_end, layout.section_alignment);
  const uint64_t image_size =
      AlignUp(virtual_address + contents.size(), layout.section_alignment);
  if (raw_offset + raw_size > 0xFFFFFFFFu || image_size > 0xFFFFFFFFu) {
    throw BundleError("the resources make the stub too large");
  }

  uint8_t header[kSectionHeaderSize] = {};
  std::strncpy(reinterpret_cast<char*>(header), name, 8);
  Put32(static_cast<uint32_t>(contents.size()), header + 8);
  Put32(static_cast<uint32_t>(virtual_address), header + 12);
  Put32(static_cast<uint32_t>(raw_size), header + 16);
  Put32(static_cast<uint32_t>(raw_offset), header + 20);
  Put32(kResourceCharacteristics, header + 36);
  std::memcpy(bytes.data() + table_end, header, sizeof header);

  const uint32_t pe = Get32(bytes.data() + 60);
  const uint32_t optional = pe + 24;
  Put16(static_cast<uint16_t>(layout.section_count + 1), bytes.data() + pe + 6);
  const uint32_t initialised = Get32(bytes.data() + optional + 8);
  Put32(initialised + static_cast<uint32_t>(raw_size), bytes.data() + optional + 8);
  Put32(static_cast<uint32_t>(image_size), bytes.data() + optional + 56);
  Put32(static_cast<uint32_t>(virtual_address), bytes.data() + layout.resource_entry_offset);
  Put32(static_cast<uint32_t>(contents.size()), bytes.data() + layout.resource_entry_offset + 4);

  bytes.resize(raw_offset, 0);
  bytes.insert(bytes.end(), contents.begin(), contents.end());
  bytes.resize(raw_offset + raw_size, 0);
}

void ImageChecksum::Add(const uint8_t* data, size_t size) {
  // Words are summed without folding (below 2^48 for any file under 2^32 words) and folded
  // once at the end, which gives the same one's-complement sum as folding after each word.
  size_t i = 0;
  auto byte_at = [&](size_t index) -> uint32_t {
    return length_ + index - checksum_offset_ < 4 ? 0 : data[index];
  };
  if (odd_byte_ >= 0 && size > 0) {
    sum_ += static_cast<uint32_t>(odd_byte_) | byte_at(0) << 8;
    odd_byte_ = -1;
    i = 1;
  }
  const bool touches_field =
      length_ < checksum_offset_ + 4 && checksum_offset_ < length_ + size;
  if (touches_field) {
    for (; i + 1 < size; i += 2) sum_ += byte_at(i) | byte_at(i + 1) << 8;
  } else {
    for (; i + 1 < size; i += 2) sum_ += data[i] | static_cast<uint32_t>(data[i + 1]) << 8;
  }
  if (i < size) odd_byte_ = static_cast<int>(byte_at(i));
  length_ += size;
}

uint32_t ImageChecksum::Value() const {
  uint64_t sum = sum_;
  if (odd_byte_ >= 0) sum += static_cast<uint32_t>(odd_byte_);
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + length_);
}

}  // namespace qxibundle
