// The layout of a setup program made by qxibundle: the stub program with the resource section
// qxibundle gives it, the payload entries, and a fixed trailer that closes the bundle's own
// bytes. A signature added later (a certificate table) may follow the trailer.
//
//   [stub image][entry]...[entry][0 to 7 zero bytes][trailer]([certificate table])
//
// Entry, little-endian: a header, the name, the stored data.
//   offset size field
//        0    1 role: 0 a file of the setup folder, 1 the engine (QXI.dll), 2 the settings
//        1    1 method: 0 stored, 1 implode
//        2    2 name length n (a relative path with backslashes; empty for engine, settings)
//        4    4 CRC-32 of the original bytes
//        8    8 original size
//       16    8 stored size
//       24    n name
// Trailer (40 bytes; the bundle's own bytes end on a multiple of 8, where a signature goes):
//        0    8 magic "QXISETUP"
//        8    4 format version, 1
//       12    4 kind: 1 setup, 2 uninstaller
//       16    8 payload offset (the first entry; the end of the stub image)
//       24    8 payload size (to the end of the last entry)
//       32    4 entry count
//       36    4 CRC-32 of every byte before this field, where the image's checksum field and
//             its certificate-table entry (which signing rewrites) count as zeros
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace qxibundle {

/// A bundle that cannot be read: damaged, cut short, or not a bundle at all. what() says
/// which check failed, in words for the person who ran the setup. (Not a std::runtime_error:
/// that one holds its text in a second string implementation, which the stub would carry.)
class BundleError : public std::exception {
 public:
  explicit BundleError(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;
};

enum class BundleKind : uint32_t { kSetup = 1, kUninstaller = 2 };
enum class EntryRole : uint8_t { kFile = 0, kEngine = 1, kSettings = 2 };
enum class EntryMethod : uint8_t { kStored = 0, kImplode = 1 };

constexpr size_t kEntryHeaderSize = 24;
constexpr size_t kTrailerSize = 40;
constexpr size_t kTrailerCrcOffset = 36;
constexpr uint32_t kFormatVersion = 1;
/// The bundle's own bytes end on this boundary, where a certificate table may start.
constexpr uint64_t kBundleAlignment = 8;

/// An entry's header, as stored.
struct EntryHeader {
  EntryRole role = EntryRole::kFile;
  EntryMethod method = EntryMethod::kStored;
  uint16_t name_length = 0;
  uint32_t crc = 0;
  uint64_t size = 0;
  uint64_t stored_size = 0;
};

/// The trailer's fields, as stored.
struct Trailer {
  BundleKind kind = BundleKind::kSetup;
  uint64_t payload_offset = 0;
  uint64_t payload_size = 0;
  uint32_t entry_count = 0;
  uint32_t crc = 0;
};

/// The header's kEntryHeaderSize bytes.
void EncodeEntryHeader(const EntryHeader& header, uint8_t* out);
/// Reads kEntryHeaderSize bytes. Throws BundleError for a role or method it does not know.
EntryHeader DecodeEntryHeader(const uint8_t* in);

/// The trailer's kTrailerSize bytes.
void EncodeTrailer(const Trailer& trailer, uint8_t* out);
/// Reads kTrailerSize bytes. Throws BundleError when the magic, version or kind is wrong.
Trailer DecodeTrailer(const uint8_t* in);

/// Little-endian reading and writing of the formats' integers.
uint16_t Get16(const uint8_t* p);
uint32_t Get32(const uint8_t* p);
uint64_t Get64(const uint8_t* p);
void Put16(uint16_t value, uint8_t* p);
void Put32(uint32_t value, uint8_t* p);
void Put64(uint64_t value, uint8_t* p);

}  // namespace qxibundle
