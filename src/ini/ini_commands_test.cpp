// The INI commands run from scripts on real INI files: the callbacks of every line, in
// order, and the file text the profile functions leave on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/disk_files.h"
#include "support/ini_text.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::FileLines;
using qxi_test::HasSection;
using qxi_test::Lines;
using qxi_test::LinesOfSize;
using qxi_test::SectionLines;
using qxi_test::SectionText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;
using Texts = std::vector<std::string>;

class IniCommands : public ::testing::Test {
 protected:
  // Runs the command lines `body` as section [Edit] (header "Editing INI" 9) of a script.
  Calls Run(const std::string& body) {
    return qxi_test::RunText(dir_, "[Main]\r\nINI Edit\r\n[Edit]\r\n\"Editing INI\" 9\r\n" + body,
                             "Main", &script_);
  }
  std::string Log(const std::string& message) const { return "log " + script_ + " | " + message; }
  // `count` advances after the dialog call of the section.
  static Calls Advances(size_t count) {
    Calls calls = {"dialog Editing INI 9"};
    calls.insert(calls.end(), count, "advance 1");
    return calls;
  }

  TempDir dir_;
  std::string script_;
  std::string ini_ = dir_.path() + "\\test.ini";
};

TEST_F(IniCommands, KeysAreSetExtendedAndDeleted) {
  dir_.Write("test.ini", "[App]\r\nname=abc\r\nkeep=1\r\ncolor=blue\r\n[Other]\r\nx=1\r\n");
  Calls calls = Run(
      "SetKey " + ini_ + " App size large\r\n"      // a new key goes to the section's end
      "SetKey " + ini_ + " app KEEP 2\r\n"          // names compare ignoring case
      "AppendKey " + ini_ + " App name def\r\n"     // abc + def, nothing between
      "AppendKey " + ini_ + " App fresh \"x y\"\r\n"  // a missing key gets the value alone
      "DeleteKey " + ini_ + " App color\r\n"
      "DeleteKey " + ini_ + " App missing\r\n"      // changes nothing, reports nothing
      "SetKey " + ini_ + " App empty \"\"\r\n"      // the empty text, not a deletion
      "SetKey " + ini_ + " New k v\r\n");           // the section comes into being
  EXPECT_EQ(calls, Advances(8)) << Lines(calls);
  Texts lines = FileLines(ini_);
  EXPECT_EQ(SectionLines(lines, "App"),
            Texts({"name=abcdef", "keep=2", "size=large", "fresh=x y", "empty="}));
  EXPECT_EQ(SectionLines(lines, "Other"), Texts({"x=1"}));
  EXPECT_EQ(SectionLines(lines, "New"), Texts({"k=v"}));
}

TEST_F(IniCommands, AppendLineAddsOnlyLinesNotPresent) {
  dir_.Write("test.ini", "[Devices]\r\nprinter=lpt1\r\nNUL=a\r\n[After]\r\ny=2\r\n");
  Calls calls = Run(
      "AppendLine " + ini_ + " Devices NUL=b\r\n"         // same key, another line: added
      "AppendLine " + ini_ + " Devices NUL=b\r\n"         // present now: nothing
      "AppendLine " + ini_ + " DEVICES PRINTER=LPT1\r\n"  // differs in case only: nothing
      "AppendLine " + ini_ + " Fresh k=v\r\n");           // an absent section is created
  EXPECT_EQ(calls, Advances(4)) << Lines(calls);
  Texts lines = FileLines(ini_);
  EXPECT_EQ(SectionLines(lines, "Devices"), Texts({"printer=lpt1", "NUL=a", "NUL=b"}));
  EXPECT_EQ(SectionLines(lines, "After"), Texts({"y=2"}));
  EXPECT_EQ(SectionLines(lines, "Fresh"), Texts({"k=v"}));
}

TEST_F(IniCommands, SectionsAreCreatedAndDeletedOnlyWhenTheyHoldLines) {
  dir_.Write("test.ini", "[Filled]\r\na=1\r\n[Bare]\r\n[Gone]\r\nb=2\r\nc=3\r\n[Tail]\r\nd=4\r\n");
  Calls calls = Run(
      "CreateSection " + ini_ + " Filled\r\n"   // has lines: left as it is
      "CreateSection " + ini_ + " Absent\r\n"
      "DeleteSection " + ini_ + " Bare\r\n"     // a header without lines stays
      "DeleteSection " + ini_ + " Missing\r\n"  // nothing to delete
      "DeleteSection " + ini_ + " gone\r\n");   // removed with its lines
  EXPECT_EQ(calls, Advances(5)) << Lines(calls);
  Texts lines = FileLines(ini_);
  EXPECT_EQ(SectionLines(lines, "Filled"), Texts({"a=1"}));
  EXPECT_TRUE(HasSection(lines, "Bare"));
  EXPECT_FALSE(HasSection(lines, "Gone"));
  EXPECT_FALSE(HasSection(lines, "Missing"));
  EXPECT_EQ(SectionLines(lines, "Tail"), Texts({"d=4"}));
  // The platform writes an empty section only where it keeps empty sections (Wine does not):
  // what the engine promises is that creating it neither reports nor disturbs the others.
  if (HasSection(lines, "Absent")) {
    EXPECT_EQ(SectionLines(lines, "Absent"), Texts());
  }
}

TEST_F(IniCommands, BareFileNamesLiveInTheWindowsDirectoryAndMissingTextsAreEmpty) {
  std::string name = "qxi_bare_" + std::to_string(GetCurrentProcessId()) + ".ini";
  std::string in_windows = qxi_test::InWindows(name);
  Calls calls = Run(
      "SetKey " + name + " S k v\r\n"
      "SetKey " + ini_ + " S k\r\n"            // a missing value is the empty text
      "AppendLine " + ini_ + " S \"a\"b\r\n"   // a closing quote must end the token
      "DeleteKey " + ini_ + "\r\n");           // no section, no key: nothing to remove
  Calls expected = Advances(2);
  expected.push_back(Log("Syntax error, section [Edit] line #4 Param #3"));
  expected.push_back("advance 1");
  EXPECT_EQ(calls, expected) << Lines(calls);
  EXPECT_EQ(FileLines(in_windows), Texts({"[S]", "k=v"}));
  EXPECT_TRUE(DeleteFileA(in_windows.c_str())) << GetLastError();
  EXPECT_EQ(FileLines(ini_), Texts({"[S]", "k="}));
}

TEST_F(IniCommands, AppendKeyExtendsValuesLongerThan255Characters) {
  std::string v300(300, 'a'), v5000(5000, 'b');
  dir_.Write("test.ini", SectionText("Long", {"short=" + std::string(255, 's'),
                                              "mid=" + v300, "big=" + v5000}));
  Calls calls = Run(
      "AppendKey " + ini_ + " Long short +\r\n"
      "AppendKey " + ini_ + " Long mid +tail\r\n"
      "AppendKey " + ini_ + " Long big !\r\n");
  EXPECT_EQ(calls, Advances(3)) << Lines(calls);
  EXPECT_EQ(SectionLines(FileLines(ini_), "Long"),
            Texts({"short=" + std::string(255, 's') + "+", "mid=" + v300 + "+tail",
                   "big=" + v5000 + "!"}));
}

TEST_F(IniCommands, TextsTooLongForTheProfileFunctionsAreRefusedNotPassedOn) {
  // The profile functions take at most 32,766 characters a text; longer ones used to reach
  // them and fault inside the system's conversion.
  const std::string fits(32766, 'f'), over(32767, 'o'), half(20000, 'h');
  dir_.Write("test.ini", SectionText("App", {"keep=1", "half=" + half}));
  Calls calls = Run(
      "SetKey " + ini_ + " App fits " + fits + "\r\n"   // the longest text passed on
      "SetKey " + ini_ + " App " + over + " v\r\n"      // a key one longer
      "AppendLine " + ini_ + " " + over + " k=v\r\n"    // a section
      "DeleteSection " + ini_ + "\\" + over + " App\r\n"  // a file name
      "AppendKey " + ini_ + " App half " + half + "\r\n"  // 40,000 together
      // A file name longer than a path may be, which the system's functions fault on.
      "CreateSection " + dir_.path() + "\\" + std::string(MAX_PATH, 'n') + " App\r\n");
  const std::string refused = std::string(" run time error \"") +
                              qxi_test::SystemText(ERROR_INVALID_PARAMETER) + "\"";
  EXPECT_EQ(calls, Calls({"dialog Editing INI 9", "advance 1",
                          Log("SetKey: section [Edit] line #3, " + refused), "advance 1",
                          Log("AppendLine: section [Edit] line #4, " + refused), "advance 1",
                          Log("DeleteSection: section [Edit] line #5, " + refused), "advance 1",
                          Log("AppendKey: section [Edit] line #6, " + refused), "advance 1",
                          Log("CreateSection: section [Edit] line #7, " + refused), "advance 1"}))
      << Lines(calls);
  EXPECT_EQ(SectionLines(FileLines(ini_), "App"),
            Texts({"keep=1", "half=" + half, "fits=" + fits}));
}

TEST_F(IniCommands, AppendLineKeepsWholeSectionsNearAndBeyond32000Bytes) {
  // Section list sizes (each line with its NUL) around the 32000-byte first read: the new
  // line and the closing NULs just fit (31991), overflow by one (31992), the read answers
  // "maybe cut" (31998), the read is cut (31999, 32000), and far beyond it (45000).
  const std::vector<size_t> sizes = {31991, 31992, 31998, 31999, 32000, 45000};
  std::string text;
  std::vector<Texts> before;
  for (size_t i = 0; i < sizes.size(); ++i) {
    before.push_back(LinesOfSize(sizes[i]));
    text += SectionText("S" + std::to_string(i), before.back());
  }
  dir_.Write("test.ini", text);
  std::string body;
  for (size_t i = 0; i < sizes.size(); ++i) {
    body += "AppendLine " + ini_ + " S" + std::to_string(i) + " added=1\r\n";
  }
  // A line equal to one beyond the first 32000 bytes is found, so nothing is written.
  std::string last = before.back().back();
  body += "AppendLine " + ini_ + " S5 " + std::string(1, 'K') + last.substr(1) + "\r\n";
  Calls calls = Run(body);
  EXPECT_EQ(calls, Advances(sizes.size() + 1)) << Lines(calls);
  Texts lines = FileLines(ini_);
  for (size_t i = 0; i < sizes.size(); ++i) {
    Texts expected = before[i];
    expected.push_back("added=1");
    EXPECT_EQ(SectionLines(lines, "S" + std::to_string(i)), expected) << "size " << sizes[i];
  }
}

}  // namespace
}  // namespace qxi
