// Writing a bundle: the image, the entries, the trailer, and the image checksum patched in
// at the end. qxibundle writes setups with it, and the stub writes the uninstaller.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/byte_source.h"
#include "bundle_crc.h"
#include "bundle_layout.h"
#include "pe_image.h"

namespace qxibundle {

/// Where a bundle's bytes go: appended in order, and one earlier field overwritten last.
class BundleSink {
 public:
  virtual ~BundleSink() = default;
  /// Appends; throws the sink's own error when it cannot.
  virtual void Append(const uint8_t* data, size_t size) = 0;
  /// Overwrites `size` bytes already appended, at `offset`.
  virtual void Overwrite(uint64_t offset, const uint8_t* data, size_t size) = 0;
};

/// A sink that keeps the bytes in memory.
class MemorySink : public BundleSink {
 public:
  void Append(const uint8_t* data, size_t size) override { bytes.insert(bytes.end(), data, data + size); }
  void Overwrite(uint64_t offset, const uint8_t* data, size_t size) override;
  std::vector<uint8_t> bytes;
};

class BundleWriter {
 public:
  /// Writes `image`, a program image with nothing after its sections; its checksum field and
  /// certificate-table entry are written as zeros (a signature does not carry over). Throws
  /// BundleError when it is not such an image.
  BundleWriter(BundleSink& sink, std::vector<uint8_t> image);

  /// Appends an entry: the header (its name length taken from `name`), the name, and
  /// `stored_size` stored bytes. Throws BundleError for a name longer than 65535 bytes.
  void AddEntry(EntryHeader header, const std::string& name, const uint8_t* stored,
                size_t stored_size);

  /// The same, with the stored bytes read from `source` at `data_offset` (header.stored_size
  /// of them). Throws what the source throws, or BundleError when it ends first.
  void AddEntryFrom(EntryHeader header, const std::string& name, qxi::ByteSource& source,
                    uint64_t data_offset);

  /// Pads the bundle's end to kBundleAlignment, appends the trailer of `kind` and writes the
  /// image checksum into its field. Returns the bundle's size. Call once, last.
  uint64_t Finish(BundleKind kind);

 private:
  void StartEntry(EntryHeader& header, const std::string& name);
  void Emit(const uint8_t* data, size_t size);

  BundleSink& sink_;
  PeLayout layout_;
  BundleCrc crc_;
  ImageChecksum checksum_;
  uint64_t length_ = 0;
  uint64_t payload_offset_ = 0;
  uint32_t entry_count_ = 0;
};

}  // namespace qxibundle
