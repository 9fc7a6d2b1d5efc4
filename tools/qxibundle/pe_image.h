// The parts of a Windows program's image (PE32 or PE32+) that a bundle touches: the header
// fields signing rewrites, the resource and certificate directory entries, the section table
// (qxibundle adds the resource section), and the image checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qxibundle {

/// Where things are in an image's headers; every offset is from the start of the file.
struct PeLayout {
  uint16_t machine = 0;                 ///< 0x14C x86, 0x8664 x86-64
  bool pe32_plus = false;               ///< the 64-bit optional header
  uint32_t checksum_offset = 0;         ///< the 4-byte CheckSum field
  uint32_t resource_entry_offset = 0;   ///< the 8-byte resource directory entry
  uint32_t security_entry_offset = 0;   ///< the 8-byte certificate-table entry
  uint32_t section_table_offset = 0;
  uint16_t section_count = 0;
  uint32_t size_of_headers = 0;
  uint32_t section_alignment = 0;
  uint32_t file_alignment = 0;
  uint64_t raw_end = 0;      ///< end of the last section's data in the file
  uint64_t virtual_end = 0;  ///< end of the last section in memory, not aligned
};

/// Reads the layout from the first `size` bytes of a file (they must hold every header and
/// the section table). Throws BundleError when they are not a PE image of a kind it knows.
PeLayout ReadPeLayout(const uint8_t* data, size_t size);

/// Adds a section named `name` (at most 8 characters) holding `contents` at the end of
/// `*image`, a whole image without anything after its last section, and points the resource
/// directory entry at it. Throws BundleError when the image already has resources, has data
/// after its sections, or has no room in its headers for one more section.
void AppendResourceSection(std::vector<uint8_t>* image, const char* name,
                           const std::vector<uint8_t>& contents);

/// The image checksum as Windows computes it: the file's 16-bit little-endian words (an odd
/// last byte padded with zero) added with end-around carry, the CheckSum field counted as
/// zero, plus the file's length. Fed in pieces of any size, in order.
class ImageChecksum {
 public:
  /// `checksum_offset`: where the file's own CheckSum field lies.
  explicit ImageChecksum(uint64_t checksum_offset) : checksum_offset_(checksum_offset) {}

  void Add(const uint8_t* data, size_t size);
  /// The checksum of everything added so far.
  uint32_t Value() const;

 private:
  uint64_t checksum_offset_;
  uint64_t length_ = 0;
  uint64_t sum_ = 0;
  int odd_byte_ = -1;  ///< the first byte of a word split between two pieces
};

}  // namespace qxibundle
