// The FileLine search on texts without a terminating NUL, each copied into a buffer of its
// exact size so that the sanitizers catch any read past the end.
#include "conditions/line_match.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qxi {
namespace {

bool Match(const std::string& text, const std::string& prefix) {
  std::unique_ptr<char[]> exact(new char[text.size() + 1]);
  std::copy(text.begin(), text.end(), exact.get());
  return AnyLineBeginsWith(exact.get(), exact.get() + text.size(), prefix);
}

TEST(LineMatch, LeadingBlanksCaseAndLineStart) {
  EXPECT_TRUE(Match("[boot]\r\n   DEVICE=X.SYS\r\n", "device="));
  EXPECT_FALSE(Match("X DEVICE=X.SYS\r\n", "device="));
  EXPECT_FALSE(Match("\tDEVICE=X.SYS\r\n", "device="));  // only the space is a blank
  EXPECT_TRUE(Match("a\r\nb\r\n[Paths]\r\n", "[paths]"));
  EXPECT_FALSE(Match("a\r\nb\r\n", "c"));
}

TEST(LineMatch, EveryKindOfLineEnd) {
  for (const char* end : {"\r", "\n", "\r\n", "\n\r\n\r"}) {
    std::string text = std::string("first") + end + end + "  second" + end + "third";
    EXPECT_TRUE(Match(text, "SECOND")) << int(end[0]);
    EXPECT_TRUE(Match(text, "third")) << int(end[0]);
    EXPECT_TRUE(Match(text, "first")) << int(end[0]);
    EXPECT_FALSE(Match(text, "irst")) << int(end[0]);
  }
}

TEST(LineMatch, NeverReadsPastTheEnd) {
  // A Line longer than the file, or longer than its last line, never matches.
  EXPECT_FALSE(Match("ab", "abc"));
  EXPECT_FALSE(Match("x\nab", "abcdefghijklmnopqrstuvwxyz"));
  EXPECT_FALSE(Match("   ", "a"));
  EXPECT_FALSE(Match("a", std::string(1000, 'a')));
  EXPECT_TRUE(Match("x\nab", "ab"));
  // An empty Line matches the first line of any text; an empty text has no line.
  EXPECT_TRUE(Match("anything", ""));
  EXPECT_FALSE(AnyLineBeginsWith(nullptr, nullptr, ""));
}

}  // namespace
}  // namespace qxi
