// The script cursor's line state, section lookup and line stepping.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/qx_err.h"
#include "engine/script_file.h"
#include "engine/section_reader.h"
#include "support/script_runner.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

using qxi_test::TempDir;

// The body of `name` in `text`, up to the end of the section as a walker sees it.
std::string SectionBody(const std::string& text, const std::string& name) {
  TempDir dir;
  ScriptFile script(dir.Write("s.qxs", text).c_str());
  const char* begin = script.FindSection(name);
  SectionReader reader;
  reader.SetUp(begin, script.text_end(), name);
  ScriptCursor cursor = reader.begin();
  std::string body;
  while (!reader.AtEnd(cursor)) {
    body += *cursor.pos;
    cursor.Advance();
  }
  return body;
}

TEST(ScriptCursor, EndsOnBracketAtLineStartOnly) {
  EXPECT_EQ(SectionBody("[A]\nx [y]\nz\n[B]\nw", "A"), "x [y]\nz\n");
  EXPECT_EQ(SectionBody("[A]\nx\n   [B]\nw", "A"), "x\n   ");   // indented header ends it too
  EXPECT_EQ(SectionBody("[A]\r\nx\r\n[B]\r\nw", "a"), "x\r\n");
  EXPECT_EQ(SectionBody("[A]\rx\r[B]\rw", "A"), "x\r");
  // A header right after a header: the walk starts on the '[' and runs into the next body.
  EXPECT_EQ(SectionBody("[A]\n[B]\nb1\n[C]\n", "A"), "[B]\nb1\n");
  EXPECT_EQ(SectionBody("[A]\nlast line", "A"), "last line");
}

TEST(ScriptFile, FindSectionMatchesNamesAndHeaders) {
  TempDir dir;
  ScriptFile script(
      dir.Write("s.qxs", "  pre\n[files]\n\n\nCopy\n[ Spaced]\nx\n[Open\ny\n[Files]\nsecond\n[End]")
          .c_str());
  ASSERT_TRUE(script.IsOpen());
  EXPECT_EQ(std::string(script.FindSection("FILES"), 4), "Copy");  // case, empty lines skipped
  EXPECT_EQ(std::string(script.FindSection(" Spaced"), 1), "x");
  EXPECT_THROW(script.FindSection("Spaced"), QXErr);  // the blank inside the brackets counts
  EXPECT_EQ(std::string(script.FindSection("Open"), 1), "y");     // no closing bracket
  EXPECT_EQ(script.FindSection("End"), script.text_end());        // header at the very end
  EXPECT_EQ(std::string(script.FindSection(""), 3), "pre");       // empty name: start, blanks passed
  try {
    script.FindSection("Missing");
    FAIL();
  } catch (const QXErr& e) {
    EXPECT_EQ(e.code(), kSectionNotFound);
    EXPECT_STREQ(e.what(), "Section not found");
  }

  ScriptFile unclosed(dir.Write("u.qxs", "x\n[Open").c_str());
  EXPECT_THROW(unclosed.FindSection("Open"), QXErr);  // cut off by the end of the file

  ScriptFile missing((dir.path() + "/none.qxs").c_str());
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_TRUE(missing.path().empty());
  EXPECT_EQ(missing.FindSection(""), nullptr);
  EXPECT_THROW(missing.FindSection("A"), QXErr);

  ScriptFile empty(dir.Write("e.qxs", "").c_str());
  EXPECT_FALSE(empty.IsOpen());
}

// Lookups in any order give what a scan from the start would: the first of duplicate headers,
// whether or not a later lookup already read past it, and nothing for malformed headers.
TEST(ScriptFile, FindSectionKeepsFirstOfDuplicatesInAnyLookupOrder) {
  TempDir dir;
  const std::string path = dir.Write(
      "s.qxs", "[Dup]\rfirst\r x [Hidden]\r[dup] tail\rsecond\r  [Open\rthird\r[DUP]\rfourth\r"
               "[Last]\r\r\rlast\r[Cut");
  ScriptFile late_first(path.c_str());
  EXPECT_EQ(std::string(late_first.FindSection("last"), 4), "last");  // reads every header
  EXPECT_EQ(std::string(late_first.FindSection("dUP"), 5), "first");
  EXPECT_EQ(std::string(late_first.FindSection("OPEN"), 5), "third");
  EXPECT_THROW(late_first.FindSection("Hidden"), QXErr);  // '[' after a non-blank
  EXPECT_THROW(late_first.FindSection("Cut"), QXErr);     // cut off by the end of the file
  EXPECT_THROW(late_first.FindSection("Dup] tail"), QXErr);

  ScriptFile early_first(path.c_str());
  EXPECT_EQ(std::string(early_first.FindSection("Dup"), 5), "first");
  EXPECT_THROW(early_first.FindSection("Missing"), QXErr);  // reads the rest
  EXPECT_EQ(std::string(early_first.FindSection("DUP"), 5), "first");
  EXPECT_EQ(std::string(early_first.FindSection("Last"), 4), "last");
  EXPECT_THROW(early_first.FindSection("Missing"), QXErr);
}

// The body of the first header named `name`, found by reading the text from its start on
// every call, the way lookup is defined; null when there is none.
const char* ScanFromStart(const char* p, const char* end, std::string_view name) {
  auto skip_blanks = [&](const char* q) { while (q < end && *q == ' ') ++q; return q; };
  auto next_line = [&](const char* q) {
    while (q < end && !IsLineBreak(*q)) ++q;
    while (q < end && IsLineBreak(*q)) ++q;
    return q;
  };
  for (p = skip_blanks(p); p < end; p = skip_blanks(next_line(p))) {
    if (*p != '[') continue;
    const char* q = p + 1;
    while (q < end && *q != ']' && !IsLineBreak(*q)) ++q;
    if (q == end) return nullptr;
    if (NamesEqual(std::string_view(p + 1, static_cast<size_t>(q - p - 1)), name)) {
      return next_line(q);
    }
  }
  return nullptr;
}

// Random scripts of headers, duplicates, blanks, brackets and line breaks of every kind, each
// looked up by many names in a random order, twice over: every lookup through the index must
// give what reading from the start gives.
TEST(ScriptFile, FindSectionAgreesWithReadingFromTheStart) {
  TempDir dir;
  std::mt19937 random(18);
  const char pieces[] = {'[', ']', ' ', '\r', '\n', 'a', 'A', 'b', 'x'};
  std::vector<std::string> names = {"a", "A", "b", "ab", "Ab", "a b", " a", "a ", "x", "ax"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const size_t length = 1 + random() % 60;
    while (text.size() < length) text += pieces[random() % sizeof pieces];
    const std::string path = dir.Write("r" + std::to_string(round) + ".qxs", text);
    ScriptFile script(path.c_str());
    std::vector<std::string> order = names;
    order.insert(order.end(), names.begin(), names.end());
    std::shuffle(order.begin(), order.end(), random);
    for (const std::string& name : order) {
      const char* expected = ScanFromStart(script.text_begin(), script.text_end(), name);
      const char* found = nullptr;
      try {
        found = script.FindSection(name);
      } catch (const QXErr& e) {
        EXPECT_EQ(e.code(), kSectionNotFound);
      }
      EXPECT_EQ(found, expected) << "script \"" << text << "\", name \"" << name << "\"";
    }
  }
}

TEST(SectionReader, NextLineCountsLinesWithContent) {
  TempDir dir;
  // Line 1 "a", empty lines are invisible, blank-only line 2 and comment line 3 count.
  ScriptFile script(dir.Write("s.qxs", "[S]\na\r\n\r\n   \r\n ; note\n\n\n  b ; tail\n[T]").c_str());
  SectionReader reader;
  reader.SetUp(script.FindSection("S"), script.text_end(), "S");
  ScriptCursor cursor = reader.SkipBlanks(reader.begin());
  EXPECT_EQ(*cursor.pos, 'a');
  cursor = reader.NextLine(cursor);
  EXPECT_EQ(*cursor.pos, 'b');
  EXPECT_EQ(reader.line(), 4);
  cursor = reader.NextLine(cursor);
  EXPECT_TRUE(reader.AtEnd(cursor));
}

}  // namespace
}  // namespace qxi
