#include "bundle_reader.h"

#include <algorithm>

#include "archive/implode/crc32.h"
#include "archive/qxz_entry_name.h"
#include "bundle_crc.h"

namespace qxibundle {
namespace {

// Enough for the headers and section table of any image this program makes.
constexpr size_t kHeaderBytes = 4096;
constexpr size_t kPiece = 64 * 1024;

[[noreturn]] void Damaged(const char* what) {
  throw BundleError(std::string("the setup file is damaged: ") + what);
}

void ReadAt(qxi::ByteSource& file, uint64_t offset, uint8_t* buffer, size_t size) {
  file.Seek(offset);
  size_t done = 0;
  while (done < size) {
    const size_t got = file.Read(buffer + done, size - done);
    if (got == 0) throw BundleError("the setup file is incomplete: it ends too early");
    done += got;
  }
}

// The bytes of the bundle itself: the whole file, or the part before a signature.
uint64_t OwnEnd(const uint8_t* headers, const PeLayout& layout, uint64_t file_size) {
  const uint32_t table = Get32(headers + layout.security_entry_offset);
  const uint32_t table_size = Get32(headers + layout.security_entry_offset + 4);
  if (table == 0 && table_size == 0) return file_size;
  if (table % kBundleAlignment != 0 || uint64_t{table} + table_size != file_size) {
    Damaged("its signature is not where it belongs");
  }
  return table;
}

// One pass over the file: the bundle's CRC up to the trailer's CRC field, the image checksum
// over everything.
void CheckSums(qxi::ByteSource& file, const PeLayout& layout, uint64_t file_size,
               uint64_t crc_end, uint32_t stored_crc, uint32_t stored_checksum) {
  BundleCrc crc(layout);
  ImageChecksum checksum(layout.checksum_offset);
  std::vector<uint8_t> piece(kPiece);
  file.Seek(0);
  for (uint64_t at = 0; at < file_size;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kPiece, file_size - at));
    ReadAt(file, at, piece.data(), n);
    if (at < crc_end) crc.Add(piece.data(), static_cast<size_t>(std::min<uint64_t>(n, crc_end - at)));
    checksum.Add(piece.data(), n);
    at += n;
  }
  if (crc.Value() != stored_crc) Damaged("its checksum does not match its contents");
  if (checksum.Value() != stored_checksum) Damaged("its image checksum does not match");
}

BundleEntry ReadEntry(qxi::ByteSource& file, uint64_t at, uint64_t payload_end) {
  if (payload_end - at < kEntryHeaderSize) Damaged("an entry is cut short");
  uint8_t bytes[kEntryHeaderSize];
  ReadAt(file, at, bytes, sizeof bytes);
  BundleEntry entry;
  entry.header = DecodeEntryHeader(bytes);
  entry.header_offset = at;
  const EntryHeader& header = entry.header;
  const uint64_t name_end = at + kEntryHeaderSize + header.name_length;
  if (name_end > payload_end || payload_end - name_end < header.stored_size) {
    Damaged("an entry reaches past the end of the contents");
  }
  entry.name.resize(header.name_length);
  ReadAt(file, at + kEntryHeaderSize, reinterpret_cast<uint8_t*>(&entry.name[0]),
         entry.name.size());
  entry.data_offset = name_end;
  const bool file_role = header.role == EntryRole::kFile;
  if (file_role != !entry.name.empty() ||
      (file_role && (entry.name.find('\0') != std::string::npos || !qxi::IsSafeEntryName(entry.name)))) {
    Damaged("an entry's name is not a file name below the setup folder");
  }
  if (header.method == EntryMethod::kStored ? header.stored_size != header.size
                                            : header.size > 0xFFFFFFFFu) {
    Damaged("an entry's sizes do not agree");
  }
  return entry;
}

}  // namespace

const BundleEntry* BundleContents::Find(EntryRole role) const {
  for (const BundleEntry& entry : entries) {
    if (entry.header.role == role) return &entry;
  }
  return nullptr;
}

BundleContents OpenBundle(qxi::ByteSource& file) {
  const uint64_t file_size = file.Size();
  std::vector<uint8_t> headers(static_cast<size_t>(std::min<uint64_t>(file_size, kHeaderBytes)));
  ReadAt(file, 0, headers.data(), headers.size());
  const PeLayout layout = ReadPeLayout(headers.data(), headers.size());
  const uint64_t own_end = OwnEnd(headers.data(), layout, file_size);
  if (own_end < layout.raw_end + kTrailerSize) {
    throw BundleError("the setup file is incomplete: its contents are missing");
  }
  uint8_t trailer_bytes[kTrailerSize];
  const uint64_t trailer_at = own_end - kTrailerSize;
  ReadAt(file, trailer_at, trailer_bytes, sizeof trailer_bytes);
  const Trailer trailer = DecodeTrailer(trailer_bytes);
  CheckSums(file, layout, file_size, trailer_at + kTrailerCrcOffset, trailer.crc,
            Get32(headers.data() + layout.checksum_offset));

  // From here every byte is as qxibundle wrote it; the checks below keep a bundle written
  // wrongly from leading the reader astray.
  if (trailer.payload_offset != layout.raw_end || trailer.payload_offset > trailer_at ||
      trailer_at - trailer.payload_offset < trailer.payload_size ||
      trailer_at - trailer.payload_offset - trailer.payload_size >= kBundleAlignment) {
    Damaged("its contents are not where its end says");
  }
  BundleContents contents;
  contents.kind = trailer.kind;
  contents.payload_offset = trailer.payload_offset;
  const uint64_t payload_end = trailer.payload_offset + trailer.payload_size;
  uint64_t at = trailer.payload_offset;
  while (at < payload_end) {
    contents.entries.push_back(ReadEntry(file, at, payload_end));
    const BundleEntry& entry = contents.entries.back();
    at = entry.data_offset + entry.header.stored_size;
  }
  if (contents.entries.size() != trailer.entry_count) Damaged("entries are missing");
  auto count = [&](EntryRole role) {
    return std::count_if(contents.entries.begin(), contents.entries.end(),
                         [&](const BundleEntry& e) { return e.header.role == role; });
  };
  if (count(EntryRole::kEngine) != 1 || count(EntryRole::kSettings) != 1) {
    Damaged("the engine or the settings are missing");
  }
  return contents;
}

namespace {

// Counts and checks what passes on to the real output.
class CheckedOutput : public qxi::QxzOutput {
 public:
  explicit CheckedOutput(qxi::QxzOutput& output) : output_(output) {}
  void Write(const char* data, size_t size) override {
    output_.Write(data, size);
    unsigned n = static_cast<unsigned>(size);
    crc_ = qxi::Crc32Update(data, &n, &crc_);
    written_ += size;
  }
  uint32_t crc() const { return ~crc_; }
  uint64_t written() const { return written_; }

 private:
  qxi::QxzOutput& output_;
  uint32_t crc_ = 0xFFFFFFFFu;
  uint64_t written_ = 0;
};

class TextOutput : public qxi::QxzOutput {
 public:
  void Write(const char* data, size_t size) override { text.append(data, size); }
  std::string text;
};

}  // namespace

void UnpackEntry(qxi::ByteSource& file, const BundleEntry& entry, qxi::QxzOutput& output) {
  CheckedOutput checked(output);
  const EntryHeader& header = entry.header;
  if (header.method == EntryMethod::kStored) {
    std::vector<char> piece(kPiece);
    file.Seek(entry.data_offset);
    for (uint64_t left = header.stored_size; left > 0;) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(kPiece, left));
      ReadAt(file, entry.data_offset + (header.stored_size - left),
             reinterpret_cast<uint8_t*>(piece.data()), n);
      checked.Write(piece.data(), n);
      left -= n;
    }
  } else {
    // The archive decoder over exactly this entry's data. It ends by seeking to the entry's
    // next_offset(): that is made the end of this entry's data.
    qxi::QxzEntry qxz;
    qxz.info.crc = header.crc;
    qxz.info.size = static_cast<uint32_t>(header.size);
    qxz.data_offset = entry.data_offset;
    qxz.data_size = header.stored_size;
    qxz.offset = entry.data_offset + header.stored_size - 4;
    qxz.entry_length = 0;
    const qxi::QxzDecodeResult result = qxi::DecodeQxzEntry(file, qxz, checked);
    if (result.explode_result != 0) Damaged("an entry cannot be unpacked");
  }
  if (checked.written() != header.size || checked.crc() != header.crc) {
    Damaged("an entry does not unpack to what was packed");
  }
}

std::string UnpackText(qxi::ByteSource& file, const BundleEntry& entry) {
  TextOutput output;
  UnpackEntry(file, entry, output);
  return output.text;
}

}  // namespace qxibundle
