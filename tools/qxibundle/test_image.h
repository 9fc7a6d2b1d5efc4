// Program images for the format tests: small, valid as far as the bundle cares, and made
// without a Windows compiler, so that the tests run on every platform.
#pragma once

#include <cstdint>
#include <vector>

namespace qxibundle_test {

/// An image as a linker lays it out: DOS header, PE header and optional header (PE32, or
/// PE32+ for `machine` 0x8664) with 16 directory entries, 1024 bytes of headers, then
/// `sections` sections of 512 bytes of pattern each (file alignment 512, section alignment
/// 4096). Nothing follows the last section.
std::vector<uint8_t> MakeTestImage(uint16_t machine, int sections);

}  // namespace qxibundle_test
