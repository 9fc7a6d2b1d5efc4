// Tokens and the six parameter kinds, read from real script text.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "engine/command_row.h"
#include "engine/params.h"
#include "engine/qx_err.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

// A section of one or more lines held in memory, walked as the engine walks a script.
class Line {
 public:
  explicit Line(std::string text) : text_(std::move(text)) {
    reader_.SetUp(text_.data(), text_.data() + text_.size(), "T");
    cursor_ = reader_.begin();
  }
  // Parses `param` from where the previous token ended.
  template <typename Param>
  Param& Read(Param& param) {
    cursor_ = param.Parse(cursor_, reader_);
    return param;
  }
  std::string Rest() const { return std::string(cursor_.pos, text_.data() + text_.size()); }
  SectionReader& reader() { return reader_; }
  ScriptCursor& cursor() { return cursor_; }

 private:
  std::string text_;
  SectionReader reader_;
  ScriptCursor cursor_;
};

int32_t CodeOf(const std::function<void()>& parse) {
  try {
    parse();
  } catch (const QXErr& e) {
    return e.code();
  }
  return 0;
}

TEST(StringParam, PlainAndQuotedTokens) {
  Line line("  plain  \"with blank\" \"say \"\"hi\"\"\" \"\" next\tword a;b ; comment\nnext");
  StringParam p("p");
  EXPECT_EQ(line.Read(p).text(), "plain");
  EXPECT_EQ(line.Read(p).text(), "with blank");
  EXPECT_EQ(line.Read(p).text(), "say \"hi\"");
  EXPECT_EQ(line.Read(p).text(), "");
  EXPECT_EQ(line.Read(p).text(), "next\tword");  // a tab is no blank
  EXPECT_EQ(line.Read(p).text(), "a;b");         // ';' inside a token belongs to it
  EXPECT_EQ(line.Read(p).text(), "");            // the comment ends the line: empty, no error
  EXPECT_EQ(line.Rest(), "\nnext");
}

TEST(StringParam, QuoteRulesAndErrors) {
  Line unclosed("\"rest of line ; not a comment  \nx");
  StringParam p("p");
  EXPECT_EQ(unclosed.Read(p).text(), "rest of line ; not a comment  ");
  EXPECT_EQ(unclosed.Rest(), "\nx");

  Line glued("\"closed\"x");
  EXPECT_EQ(CodeOf([&] { glued.Read(p); }), kSyntaxError);
  Line quoted_semicolon("\"a ; b\" c");
  EXPECT_EQ(quoted_semicolon.Read(p).text(), "a ; b");
  Line at_end("x ");
  at_end.Read(p);
  EXPECT_EQ(CodeOf([&] { at_end.Read(p); }), kSyntaxError);  // end of file, no line break
}

TEST(IntegerParam, DigitsSignAndErrors) {
  IntegerParam n("n");
  Line good("007 -0 - -12 4294967297 2147483648\n");
  EXPECT_EQ(good.Read(n).value(), 7);
  EXPECT_EQ(good.Read(n).value(), 0);
  EXPECT_EQ(good.Read(n).value(), 0);  // a lone '-'
  EXPECT_EQ(good.Read(n).value(), -12);
  EXPECT_EQ(good.Read(n).value(), 1);  // wraps in 32 bits
  EXPECT_EQ(good.Read(n).value(), INT32_MIN);
  EXPECT_EQ(CodeOf([&] { good.Read(n); }), kSyntaxError);  // missing at the line end
  for (const char* bad : {"12ab\n", "+1\n", "1.5\n", "\"1\"\n", "", "   "}) {
    Line line(bad);
    EXPECT_EQ(CodeOf([&] { line.Read(n); }), kSyntaxError) << bad;
  }
  Line last("42");
  EXPECT_EQ(last.Read(n).value(), 42);  // the last token of the file may end at the end
}

TEST(EnumParam, MatchesIgnoringCaseAndKeepsValueOnMismatch) {
  EnumParam e("e", {"Alpha", "Beta", "alphabet"});
  Line line("BETA alpha ALPHABET Alph \"beta\"\n");
  EXPECT_EQ(line.Read(e).value(), 1);
  EXPECT_EQ(line.Read(e).value(), 0);
  EXPECT_EQ(line.Read(e).value(), 2);
  EXPECT_EQ(CodeOf([&] { line.Read(e); }), kEnumMismatch);
  EXPECT_EQ(e.value(), 2);
  Line quoted("\"beta\"\n");
  EXPECT_EQ(quoted.Read(e).value(), 1);
  Line missing("\n");
  EXPECT_EQ(CodeOf([&] { missing.Read(e); }), kEnumMismatch);

  RootKeyParam root("Root Key");
  Line roots("hkcr HKLM hkdd HKEY_LOCAL_MACHINE\n");
  EXPECT_EQ(roots.Read(root).RootHandle(), 0x80000000u);
  EXPECT_EQ(roots.Read(root).RootHandle(), 0x80000002u);
  EXPECT_EQ(roots.Read(root).RootHandle(), 0x80000006u);
  EXPECT_EQ(CodeOf([&] { roots.Read(root); }), kEnumMismatch);
}

TEST(AttributesParam, LettersAndNormal) {
  AttributesParam a("a");
  Line line("rh Ahrs xyz \"\" s\n");
  EXPECT_EQ(line.Read(a).mask(), 0x03u);
  EXPECT_EQ(line.Read(a).mask(), 0x27u);
  EXPECT_EQ(line.Read(a).mask(), 0x80u);
  EXPECT_EQ(line.Read(a).mask(), 0x80u);
  EXPECT_EQ(line.Read(a).mask(), 0x04u);
  EXPECT_EQ(line.Read(a).mask(), 0x80u);  // missing at the line end: normal
}

TEST(BytesParam, HexPairsOddDigitAndErrors) {
  BytesParam b("b");
  Line line("0aFf10 F \n");
  EXPECT_EQ(line.Read(b).bytes(), (std::vector<uint8_t>{0x0a, 0xff, 0x10}));
  EXPECT_EQ(line.Read(b).bytes(), (std::vector<uint8_t>{0x0f}));
  EXPECT_TRUE(line.Read(b).bytes().empty());
  for (const char* bad : {"0g\n", "\"0a\"\n", "12;\n"}) {
    Line l(bad);
    EXPECT_EQ(CodeOf([&] { l.Read(b); }), kSyntaxError) << bad;
  }
  Line end_of_file("   ");
  EXPECT_TRUE(end_of_file.Read(b).bytes().empty());
}

TEST(ParamList, ReadsInOrderAndNumbersParameters) {
  const CommandRow* copy = nullptr;
  for (const CommandRow* row : CommandsOfGroup("FileCopy")) {
    if (NamesEqual(row->name, "CopyFile")) copy = row;
  }
  ASSERT_NE(copy, nullptr);
  ParamList params = ParamsOf(copy->params);

  Line line("C:\\Src D:\\Dst readme.txt rh 10 extra tokens\n");
  line.cursor() = params.ReadAll(line.cursor(), line.reader());
  EXPECT_EQ(params[PathAt{0}], "C:\\Src");
  EXPECT_EQ(params[PathAt{1}], "D:\\Dst");
  EXPECT_EQ(params[PathAt{2}], "readme.txt");
  EXPECT_EQ(params[AttributesAt{3}], 0x03u);
  EXPECT_EQ(params[IntegerAt{4}], 10);
  EXPECT_EQ(line.reader().param(), 5);

  Line short_line("C:\\Src D:\\Dst readme.txt\n");
  EXPECT_EQ(CodeOf([&] { params.ReadAll(short_line.cursor(), short_line.reader()); }),
            kSyntaxError);
  EXPECT_EQ(short_line.reader().param(), 5);
  EXPECT_EQ(params[AttributesAt{3}], 0x80u);
}

}  // namespace
}  // namespace qxi
