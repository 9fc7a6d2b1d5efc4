#include "bundle_writer.h"

#include <cstring>

namespace qxibundle {

void MemorySink::Overwrite(uint64_t offset, const uint8_t* data, size_t size) {
  std::memcpy(bytes.data() + offset, data, size);
}

namespace {

PeLayout ImageLayout(const std::vector<uint8_t>& image) {
  const PeLayout layout = ReadPeLayout(image.data(), image.size());
  if (layout.raw_end != image.size()) {
    throw BundleError("the program image has data after its sections");
  }
  return layout;
}

}  // namespace

BundleWriter::BundleWriter(BundleSink& sink, std::vector<uint8_t> image)
    : sink_(sink),
      layout_(ImageLayout(image)),
      crc_(layout_),
      checksum_(layout_.checksum_offset) {
  std::memset(&image[layout_.checksum_offset], 0, 4);
  std::memset(&image[layout_.security_entry_offset], 0, 8);
  Emit(image.data(), image.size());
  payload_offset_ = length_;
}

void BundleWriter::StartEntry(EntryHeader& header, const std::string& name) {
  if (name.size() > 0xFFFF) throw BundleError("a file name is too long: " + name);
  header.name_length = static_cast<uint16_t>(name.size());
  uint8_t bytes[kEntryHeaderSize];
  EncodeEntryHeader(header, bytes);
  Emit(bytes, sizeof bytes);
  Emit(reinterpret_cast<const uint8_t*>(name.data()), name.size());
  ++entry_count_;
}

void BundleWriter::AddEntry(EntryHeader header, const std::string& name, const uint8_t* stored,
                            size_t stored_size) {
  header.stored_size = stored_size;
  StartEntry(header, name);
  Emit(stored, stored_size);
}

void BundleWriter::AddEntryFrom(EntryHeader header, const std::string& name,
                                qxi::ByteSource& source, uint64_t data_offset) {
  StartEntry(header, name);
  source.Seek(data_offset);
  std::vector<uint8_t> piece(64 * 1024);
  for (uint64_t left = header.stored_size; left > 0;) {
    const size_t wanted = static_cast<size_t>(left < piece.size() ? left : piece.size());
    const size_t got = source.Read(piece.data(), wanted);
    if (got == 0) throw BundleError("the setup file ended inside an entry");
    Emit(piece.data(), got);
    left -= got;
  }
}

uint64_t BundleWriter::Finish(BundleKind kind) {
  Trailer trailer;
  trailer.kind = kind;
  trailer.payload_offset = payload_offset_;
  trailer.payload_size = length_ - payload_offset_;
  trailer.entry_count = entry_count_;
  const uint8_t zeros[kBundleAlignment] = {};
  Emit(zeros, static_cast<size_t>((kBundleAlignment - (length_ + kTrailerSize) % kBundleAlignment) %
                                  kBundleAlignment));
  uint8_t bytes[kTrailerSize];
  EncodeTrailer(trailer, bytes);
  crc_.Add(bytes, kTrailerCrcOffset);
  trailer.crc = crc_.Value();
  EncodeTrailer(trailer, bytes);
  // The CRC field is outside its own sum; the image checksum covers it.
  checksum_.Add(bytes, sizeof bytes);
  sink_.Append(bytes, sizeof bytes);
  length_ += sizeof bytes;
  uint8_t checksum[4];
  Put32(checksum_.Value(), checksum);
  sink_.Overwrite(layout_.checksum_offset, checksum, sizeof checksum);
  return length_;
}

void BundleWriter::Emit(const uint8_t* data, size_t size) {
  crc_.Add(data, size);
  checksum_.Add(data, size);
  sink_.Append(data, size);
  length_ += size;
}

}  // namespace qxibundle
