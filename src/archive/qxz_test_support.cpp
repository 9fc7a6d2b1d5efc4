#include "archive/qxz_test_support.h"

namespace qxi {
namespace testing_support {

const std::vector<uint8_t> kOneLetterArchive = {
    0x67, 0xD4, 0xA1, 0xBE,                          // magic
    0x28, 0x00, 0x00, 0x00,                          // entry length 40
    0x8B, 0x9E, 0xD9, 0xD3,                          // CRC-32 of the one byte
    0x01, 0x00, 0x00, 0x00,                          // size
    0x20, 0x00, 0x00, 0x00,                          // attributes
    0x00, 0xC0, 0xB4, 0x65, 0x4B, 0x84, 0xBD, 0x01,  // file time
    0x00, 0x00, 0x00, 0x00,                          // priority
    0x41, 0x2E, 0x54, 0x58, 0x54, 0x00,              // "A.TXT"
    0x00, 0x06, 0x82, 0x02, 0xFE, 0x01};             // literal 0x41, end code

const std::vector<uint8_t> kEmptyStream = {0x00, 0x06, 0x01, 0xFF};

size_t WatchedSource::Read(void* buffer, size_t count) {
  const size_t n = MemoryByteSource::Read(buffer, count);
  if (Tell() > furthest) furthest = Tell();
  return n;
}

std::vector<uint8_t> HandLaidEntry(const std::string& name, const std::vector<uint8_t>& data,
                                   uint32_t crc, int64_t entry_length) {
  if (entry_length < 0) entry_length = static_cast<int64_t>(28 + name.size() + 1 + data.size());
  std::vector<uint8_t> out = {0x67, 0xD4, 0xA1, 0xBE};
  auto put32 = [&out](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
  };
  put32(static_cast<uint32_t>(entry_length));
  put32(crc);
  put32(0);           // size
  put32(0x20);        // attributes
  put32(0x11223344);  // file time, low half
  put32(0x01BD0000);  // file time, high half
  put32(0);           // priority
  out.insert(out.end(), name.begin(), name.end());
  out.push_back(0);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

}  // namespace testing_support
}  // namespace qxi
