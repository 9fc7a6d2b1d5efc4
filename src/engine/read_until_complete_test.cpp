// The growing read against a stand-in for a profile function that cuts what does not fit.
#include "engine/read_until_complete.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace qxi {
namespace {

// Answers like GetPrivateProfileStringA: copies what fits before the NUL, answers the
// characters copied (size - 1 when cut), and notes every buffer size it was given.
struct CuttingReader {
  std::string text;
  std::vector<size_t> sizes;
  size_t operator()(char* buffer, size_t size) {
    sizes.push_back(size);
    size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
  }
};

// Texts that fit, and long texts, are read under Wine by the INI tests; the two answers a
// real profile file cannot easily give are here.
TEST(ReadUntilComplete, RereadsAnExactFitAndRefusesWhatNeverFits) {
  // 255 characters fill the buffer exactly: the answer cannot tell them from a cut text.
  CuttingReader exact{std::string(255, 'b'), {}};
  EXPECT_EQ(ReadUntilComplete(256, 1, std::ref(exact)), exact.text);
  EXPECT_EQ(exact.sizes, std::vector<size_t>({256, 512}));

  CuttingReader too_long{std::string(5000, 'd'), {}};
  try {
    ReadUntilComplete(256, 1, std::ref(too_long), 4096);
    ADD_FAILURE() << "a text beyond the largest buffer was returned";
  } catch (const QXErr& e) {
    EXPECT_EQ(e.code(), kOutOfMemory);
  }
  EXPECT_EQ(too_long.sizes, std::vector<size_t>({256, 512, 1024, 2048, 4096}));
}

}  // namespace
}  // namespace qxi
