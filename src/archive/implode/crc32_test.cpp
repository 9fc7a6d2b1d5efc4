// CRC-32 known answers.
#include "archive/implode/crc32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qxi {
namespace {

uint32_t Crc(const std::string& text) {
  const uint32_t start = 0xFFFFFFFFu;
  const unsigned size = static_cast<unsigned>(text.size());
  return ~Crc32Update(text.data(), &size, &start);
}

TEST(Crc32, CheckValueOfTheDigits) { EXPECT_EQ(Crc("123456789"), 0xCBF43926u); }

TEST(Crc32, KnownAnswers) {
  EXPECT_EQ(Crc(""), 0x00000000u);
  EXPECT_EQ(Crc("A"), 0xD3D99E8Bu);
  EXPECT_EQ(Crc("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
  EXPECT_EQ(Crc(std::string(32, '\0')), 0x190A55ADu);
}

TEST(Crc32, ZeroCountReturnsTheRunningValue) {
  const uint32_t running = 0x12345678u;
  const unsigned size = 0;
  EXPECT_EQ(Crc32Update("ignored", &size, &running), 0x12345678u);
}

TEST(Crc32, DoesNotStoreThroughTheRunningValue) {
  uint32_t running = 0xFFFFFFFFu;
  const unsigned size = 3;
  const uint32_t next = Crc32Update("abc", &size, &running);
  EXPECT_EQ(running, 0xFFFFFFFFu);
  EXPECT_EQ(~next, 0x352441C2u);
}

TEST(Crc32, PiecewiseEqualsWhole) {
  const std::string text = "installation engines check every byte they unpack";
  uint32_t running = 0xFFFFFFFFu;
  for (size_t at = 0; at < text.size(); at += 5) {
    const unsigned size = static_cast<unsigned>(std::min<size_t>(5, text.size() - at));
    running = Crc32Update(text.data() + at, &size, &running);
  }
  EXPECT_EQ(~running, Crc(text));
}

// The CRC one bit at a time, straight from the polynomial: nothing shared with the tables.
uint32_t BitwiseCrc(const uint8_t* data, size_t size) {
  uint32_t value = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    value ^= data[i];
    for (int bit = 0; bit < 8; ++bit) value = (value >> 1) ^ (0xEDB88320u & (0u - (value & 1u)));
  }
  return ~value;
}

// Eight bytes go through at a time: every length and start around that step must agree.
TEST(Crc32, AgreesWithTheBitwiseCrcAtEveryLengthAndStart) {
  std::vector<uint8_t> data(200);
  uint32_t seed = 12345;
  for (uint8_t& byte : data) byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  for (size_t start = 0; start < 8; ++start) {
    for (unsigned size = 0; start + size <= data.size(); ++size) {
      const uint32_t running = 0xFFFFFFFFu;
      ASSERT_EQ(~Crc32Update(data.data() + start, &size, &running),
                BitwiseCrc(data.data() + start, size))
          << "start " << start << ", size " << size;
    }
  }
}

}  // namespace
}  // namespace qxi
