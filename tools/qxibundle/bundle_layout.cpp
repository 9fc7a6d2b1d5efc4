// Encoding and decoding of the entry header and the trailer.
#include "bundle_layout.h"

#include <cstring>

namespace qxibundle {
namespace {

constexpr char kMagic[8] = {'Q', 'X', 'I', 'S', 'E', 'T', 'U', 'P'};

}  // namespace

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | static_cast<uint32_t>(Get16(p + 2)) << 16; }
uint64_t Get64(const uint8_t* p) { return Get32(p) | static_cast<uint64_t>(Get32(p + 4)) << 32; }
void Put16(uint16_t value, uint8_t* p) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}
void Put32(uint32_t value, uint8_t* p) {
  Put16(static_cast<uint16_t>(value), p);
  Put16(static_cast<uint16_t>(value >> 16), p + 2);
}
void Put64(uint64_t value, uint8_t* p) {
  Put32(static_cast<uint32_t>(value), p);
  Put32(static_cast<uint32_t>(value >> 32), p + 4);
}

void EncodeEntryHeader(const EntryHeader& header, uint8_t* out) {
  out[0] = static_cast<uint8_t>(header.role);
  out[1] = static_cast<uint8_t>(header.method);
  Put16(header.name_length, out + 2);
  Put32(header.crc, out + 4);
  Put64(header.size, out + 8);
  Put64(header.stored_size, out + 16);
}

EntryHeader DecodeEntryHeader(const uint8_t* in) {
  if (in[0] > static_cast<uint8_t>(EntryRole::kSettings) ||
      in[1] > static_cast<uint8_t>(EntryMethod::kImplode)) {
    throw BundleError("the setup's contents are not in a form this program knows");
  }
  EntryHeader header;
  header.role = static_cast<EntryRole>(in[0]);
  header.method = static_cast<EntryMethod>(in[1]);
  header.name_length = Get16(in + 2);
  header.crc = Get32(in + 4);
  header.size = Get64(in + 8);
  header.stored_size = Get64(in + 16);
  return header;
}

void EncodeTrailer(const Trailer& trailer, uint8_t* out) {
  std::memcpy(out, kMagic, sizeof kMagic);
  Put32(kFormatVersion, out + 8);
  Put32(static_cast<uint32_t>(trailer.kind), out + 12);
  Put64(trailer.payload_offset, out + 16);
  Put64(trailer.payload_size, out + 24);
  Put32(trailer.entry_count, out + 32);
  Put32(trailer.crc, out + kTrailerCrcOffset);
}

Trailer DecodeTrailer(const uint8_t* in) {
  if (std::memcmp(in, kMagic, sizeof kMagic) != 0) {
    throw BundleError("the setup file is incomplete or damaged: its end is missing");
  }
  if (Get32(in + 8) != kFormatVersion) {
    throw BundleError("the setup file was made for another version of this program");
  }
  const uint32_t kind = Get32(in + 12);
  if (kind != static_cast<uint32_t>(BundleKind::kSetup) &&
      kind != static_cast<uint32_t>(BundleKind::kUninstaller)) {
    throw BundleError("the setup file is damaged: it is neither a setup nor an uninstaller");
  }
  Trailer trailer;
  trailer.kind = static_cast<BundleKind>(kind);
  trailer.payload_offset = Get64(in + 16);
  trailer.payload_size = Get64(in + 24);
  trailer.entry_count = Get32(in + 32);
  trailer.crc = Get32(in + kTrailerCrcOffset);
  return trailer;
}

}  // namespace qxibundle
