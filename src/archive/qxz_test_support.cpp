#include "archive/qxz_test_support.h"

namespace qxi {
namespace testing_support {

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
