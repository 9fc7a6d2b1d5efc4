#include "test_image.h"

#include <cstring>

#include "bundle_layout.h"

namespace qxibundle_test {

using qxibundle::Put16;
using qxibundle::Put32;

std::vector<uint8_t> MakeTestImage(uint16_t machine, int sections) {
  const bool plus = machine == 0x8664;
  const uint32_t pe = 0x80, optional = pe + 24;
  const uint32_t optional_size = plus ? 240 : 224;
  std::vector<uint8_t> image(1024 + 512 * sections, 0);
  image[0] = 'M';
  image[1] = 'Z';
  Put32(pe, &image[60]);
  std::memcpy(&image[pe], "PE\0\0", 4);
  Put16(machine, &image[pe + 4]);
  Put16(static_cast<uint16_t>(sections), &image[pe + 6]);
  Put16(static_cast<uint16_t>(optional_size), &image[pe + 20]);
  Put16(plus ? 0x20B : 0x10B, &image[optional]);
  Put32(4096, &image[optional + 32]);
  Put32(512, &image[optional + 36]);
  Put32(4096 * (sections + 1), &image[optional + 56]);
  Put32(1024, &image[optional + 60]);
  Put32(16, &image[optional + (plus ? 108 : 92)]);
  for (int i = 0; i < sections; ++i) {
    uint8_t* section = &image[optional + optional_size + 40 * i];
    std::memcpy(section, ".text", 5);
    section[5] = static_cast<uint8_t>('0' + i);
    Put32(512, section + 8);
    Put32(4096 * (i + 1), section + 12);
    Put32(512, section + 16);
    Put32(1024 + 512 * i, section + 20);
    for (int b = 0; b < 512; ++b) image[1024 + 512 * i + b] = static_cast<uint8_t>(b * 7 + i);
  }
  return image;
}

}  // namespace qxibundle_test
