#include "archive/qxz_writer.h"

#include <stdexcept>
#include <string>

#include "archive/implode/crc32.h"
#include "archive/qxz_entry_name.h"

namespace qxi {
namespace {

void PutLittle32(uint32_t value, std::vector<uint8_t>* out) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(uint8_t(value >> shift));
}

uint32_t Crc32Of(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  // Crc32Update takes an unsigned count: feed large inputs in slices.
  constexpr size_t kSlice = size_t{1} << 30;
  while (size > 0) {
    const unsigned n = static_cast<unsigned>(size < kSlice ? size : kSlice);
    crc = Crc32Update(data, &n, &crc);
    data += n;
    size -= n;
  }
  return ~crc;
}

}  // namespace

void AppendQxzEntry(const QxzFileInfo& info, const uint8_t* packed, size_t packed_size,
                    std::vector<uint8_t>* out) {
  if (info.name.find('\0') != std::string::npos || !IsSafeEntryName(info.name)) {
    throw std::invalid_argument("entry name is not a safe relative path: " + info.name);
  }
  const uint64_t entry_length =
      uint64_t{kQxzLengthBeforeName} + info.name.size() + 1 + packed_size;
  if (entry_length > 0xFFFFFFFFu) throw std::length_error("entry too large: " + info.name);

  out->reserve(out->size() + 4 + entry_length);
  PutLittle32(kQxzMagic, out);
  PutLittle32(static_cast<uint32_t>(entry_length), out);
  PutLittle32(info.crc, out);
  PutLittle32(info.size, out);
  PutLittle32(info.attributes, out);
  PutLittle32(static_cast<uint32_t>(info.file_time), out);
  PutLittle32(static_cast<uint32_t>(info.file_time >> 32), out);
  PutLittle32(info.priority, out);
  out->insert(out->end(), info.name.begin(), info.name.end());
  out->push_back(0);
  out->insert(out->end(), packed, packed + packed_size);
}

size_t AppendQxzFile(const QxzFileInfo& info, const uint8_t* data, size_t size,
                     const ImplodeOptions& options, std::vector<uint8_t>* out) {
  // The size field is 32 bits; Implode itself refuses 4 GiB and more.
  if (size > 0xFFFFFFFFu) throw std::length_error("file too large: " + info.name);
  std::vector<uint8_t> packed;
  Implode(data, size, options, &packed);
  QxzFileInfo filled = info;
  filled.crc = Crc32Of(data, size);
  filled.size = static_cast<uint32_t>(size);
  AppendQxzEntry(filled, packed.data(), packed.size(), out);
  return packed.size();
}

}  // namespace qxi
