// Reading a bundle: every byte checked before anything is used, then the entries listed, then
// each entry's original bytes given back. The stub reads its own file with it; nothing here
// trusts a byte the checks have not covered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/byte_source.h"
#include "archive/qxz_entry_decoder.h"
#include "bundle_layout.h"
#include "pe_image.h"

namespace qxibundle {

/// One entry found in a bundle.
struct BundleEntry {
  EntryHeader header;
  std::string name;
  uint64_t header_offset = 0;
  uint64_t data_offset = 0;
};

/// A checked bundle.
struct BundleContents {
  BundleKind kind = BundleKind::kSetup;
  uint64_t payload_offset = 0;  ///< where the image ends and the first entry begins
  std::vector<BundleEntry> entries;

  /// The entry of `role` (the engine or the settings); null when there is none.
  const BundleEntry* Find(EntryRole role) const;
};

/// Checks the bundle in `file`: its CRC over every byte, the image checksum, the trailer and
/// the certificate-table entry (empty, or exactly the signature after the bundle's bytes);
/// then reads the entries and checks each: inside the payload, a known role and method, a
/// file name safe to unpack below a folder, one engine and one settings entry. Throws
/// BundleError saying what is wrong.
BundleContents OpenBundle(qxi::ByteSource& file);

/// Writes the original bytes of `entry` to `output` in pieces. Throws BundleError when they
/// do not come out as stored (CRC or size), or what the file or the output throws.
void UnpackEntry(qxi::ByteSource& file, const BundleEntry& entry, qxi::QxzOutput& output);

/// UnpackEntry into memory; for the settings entry.
std::string UnpackText(qxi::ByteSource& file, const BundleEntry& entry);

}  // namespace qxibundle
