// The Conditions section on a real (Wine) machine: each test's rows with real files and a
// registry key of the test's own under HKCU, prefixes and chaining, the worked Setup/Greeting
// example both ways, and EvaluateScriptCondition. Every callback is checked in order.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/conditions_section.h"
#include "engine/qx_err.h"
#include "engine/run_script.h"
#include "engine/script_file.h"
#include "engine/message_source.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using Calls = std::vector<std::string>;
using qxi_test::Lines;
using qxi_test::RunText;
using qxi_test::TempDir;

class Conditions : public ::testing::Test {
 protected:
  void SetUp() override {
    key_path_ = "Software\\QxiTest\\Conditions" + std::to_string(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, key_path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QxiTest");  // only once it is empty
  }
  void Store(const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }

  // The conditions of `conditions_section` (the section's lines, without its header); the
  // log lines the evaluation sent go to `calls`. Outside a run the log context is empty.
  ConditionMap Load(const std::string& conditions_section, Calls* calls = nullptr) {
    script_ = dir_.Write("conditions" + std::to_string(++serial_) + ".qxs",
                         "[Setup]\r\n[Conditions]\r\n" + conditions_section);
    qxi_test::RecordEngineCallbacks();
    ScriptFile script(script_.c_str());
    ConditionMap map = LoadConditions(script);
    if (calls != nullptr) *calls = qxi_test::Recorded();
    return map;
  }
  // "name=0|1" for every condition, in map order.
  static std::string Values(const ConditionMap& map) {
    std::string out;
    for (const auto& [name, value] : map) out += name + "=" + (value ? "1 " : "0 ");
    return out;
  }

  TempDir dir_;
  std::string script_;
  int serial_ = 0;
  std::string key_path_;
  HKEY key_ = nullptr;
};

TEST_F(Conditions, FileTests) {
  std::string d = dir_.path();
  dir_.Write("empty.txt", "");
  dir_.Write("five.txt", "12345");
  dir_.Write("cr.txt", "[Boot]\r   device=X.SYS\rlast");
  dir_.Write("lf.txt", "[Boot]\n   device=X.SYS\nlast");
  dir_.Write("crlf.txt", "[Boot]\r\n\r\n   device=X.SYS\r\nlast");
  dir_.Write("inline.txt", "X DEVICE=X.SYS\r\n");
  dir_.Write("short.txt", "de");
  Calls calls;
  ConditionMap map = Load(
      "FileExists Exists \"" + d + "\\five.txt\"\r\n"
      "FileExists Missing \"" + d + "\\none.txt\"\r\n"
      "FileExists InMissingDir \"" + d + "\\nodir\\none.txt\"\r\n"
      "FileSize Empty0 \"" + d + "\\empty.txt\" 0\r\n"
      "FileSize Five5 \"" + d + "\\five.txt\" 5\r\n"
      "FileSize Five4 \"" + d + "\\five.txt\" 4\r\n"
      "FileSize Missing0 \"" + d + "\\none.txt\" 0\r\n"
      "FileSize InMissingDir0 \"" + d + "\\nodir\\none.txt\" 0\r\n"
      "FileLine Cr \"" + d + "\\cr.txt\" DEVICE=\r\n"
      "FileLine Lf \"" + d + "\\lf.txt\" device=x.sys\r\n"
      "FileLine CrLf \"" + d + "\\crlf.txt\" Device=\r\n"
      "FileLine Last \"" + d + "\\crlf.txt\" LAST\r\n"
      "FileLine Inline \"" + d + "\\inline.txt\" device=\r\n"
      "FileLine LongerThanFile \"" + d + "\\short.txt\" device=x.sys\r\n"
      "FileLine EmptyFile \"" + d + "\\empty.txt\" \"\"\r\n"
      "FileLine EmptyLine \"" + d + "\\inline.txt\" \"\"\r\n"
      "FileLine MissingFile \"" + d + "\\none.txt\" \"\"\r\n",
      &calls);
  EXPECT_EQ(Values(map),
            "Cr=1 CrLf=1 Empty0=1 EmptyFile=0 EmptyLine=1 Exists=1 Five4=0 Five5=1 "
            "Inline=0 InMissingDir=0 InMissingDir0=0 Last=1 Lf=1 LongerThanFile=0 Missing=0 "
            "Missing0=0 "
            "MissingFile=0 ");
  EXPECT_EQ(calls, Calls{}) << Lines(calls);  // no dialog, no progress, no log
}

TEST_F(Conditions, FileSizeOfAFileThatCannotBeOpenedFails) {
  std::string locked = dir_.Write("locked.txt", "abc");
  HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  Calls calls;
  ConditionMap map = Load("FileSize Locked \"" + locked + "\" 3\r\nFileExists Seen \"" +
                              locked + "\"\r\n",
                          &calls);
  CloseHandle(holder);
  char text[1024];
  ASSERT_TRUE(LoadWin32ErrorText(ERROR_SHARING_VIOLATION, 0x11FA, text, sizeof text));
  EXPECT_EQ(Values(map), "Seen=1 ");
  EXPECT_EQ(calls, Calls{"log  | FileSize: section [Conditions] line #1, " +
                         std::string(text)})
      << Lines(calls);
}

TEST_F(Conditions, RegistryTests) {
  const std::string k = "HKCU " + key_path_;
  Store("Hello", REG_SZ, "Hello", 6);
  Store("Expand", REG_EXPAND_SZ, "Hello", 6);
  DWORD all_ones = 0xFFFFFFFF, seven = 7;
  Store("AllOnes", REG_DWORD, &all_ones, 4);
  Store("Seven", REG_BINARY, &seven, 4);
  Store("Short", REG_BINARY, "\x07", 1);
  Store("None", REG_NONE, "", 0);
  HKEY sub = nullptr;
  ASSERT_EQ(RegCreateKeyExA(key_, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(sub);
  Calls calls;
  ConditionMap map = Load(
      "RegKeyExists KeyThere " + k + "\r\n"
      "RegKeyExists SubThere hkcu " + key_path_ + "\\sub\r\n"
      "RegKeyExists KeyMissing " + k + "\\Nope\r\n"
      "RegValueExists ValueThere " + k + " Hello\r\n"
      "RegValueExists ValueNone " + k + " None\r\n"
      "RegValueExists ValueMissing " + k + " Nope\r\n"
      "RegValueExists ValueUnderMissingKey " + k + "\\Nope Hello\r\n"
      "RegValueDw MinusOne " + k + " AllOnes -1\r\n"
      "RegValueDw BinarySeven " + k + " Seven 7\r\n"
      "RegValueDw ShortSeven " + k + " Short 7\r\n"
      "RegValueDw WrongNumber " + k + " Seven 8\r\n"
      "RegValueDw TooLong " + k + " Hello 0\r\n"
      "RegValueStr Same " + k + " Hello HELLO\r\n"
      "RegValueStr Shorter " + k + " Hello Hell\r\n"
      "RegValueStr ExpandType " + k + " Expand Hello\r\n"
      "RegValueStr MissingValue " + k + " Nope \"\"\r\n"
      "RegKeyExists BadRoot HKEY_CURRENT_USER " + key_path_ + "\r\n"
      "RegKeyExists BadRoot2 HKCU2 " + key_path_ + "\r\n",
      &calls);
  EXPECT_EQ(Values(map),
            "BinarySeven=1 ExpandType=0 KeyMissing=0 KeyThere=1 MinusOne=1 MissingValue=0 "
            "Same=1 Shorter=0 ShortSeven=1 SubThere=1 TooLong=0 ValueMissing=0 ValueNone=0 "
            "ValueThere=1 ValueUnderMissingKey=0 WrongNumber=0 ");
  const std::string enum_error = QXErr(kEnumMismatch).what();
  EXPECT_EQ(calls, (Calls{"log  | " + enum_error + ", section [Conditions] line #17 Param #2",
                          "log  | " + enum_error +
                              ", section [Conditions] line #18 Param #2"}))
      << Lines(calls);
}

TEST_F(Conditions, PrefixesChainingAndFailingLines) {
  std::string d = dir_.path();
  dir_.Write("yes.txt", "x");
  Calls calls;
  ConditionMap map = Load(
      "; a comment first\r\n"
      "   \r\n"
      "FileExists X \"" + d + "\\yes.txt\"\r\n"      // line 3
      "@!X FileExists Y \"" + d + "\\yes.txt\"\r\n"  // X true: Y stays undefined
      "@Y FileExists Z \"" + d + "\\yes.txt\"\r\n"   // undefined condition
      "@x FileExists Same \"" + d + "\\yes.txt\"\r\n"
      "@ !X FileExists Blank \"" + d + "\\yes.txt\"\r\n"  // "!X" is a name of its own
      "FileExists Twice \"" + d + "\\no.txt\"\r\n"   // line 8: false
      "@Twice FileExists SeesFirst \"" + d + "\\yes.txt\"\r\n"
      "@!Twice FileExists SeesFirstNot \"" + d + "\\yes.txt\"\r\n"
      "fileexists twice \"" + d + "\\yes.txt\"\r\n"  // line 11: overwrites with true
      "@Twice FileExists SeesSecond \"" + d + "\\yes.txt\"\r\n"
      "CopyFile a b c\r\n"                            // line 13
      "@Later FileExists Early \"" + d + "\\yes.txt\"\r\n"
      "FileExists Later \"" + d + "\\yes.txt\"\r\n"
      "FileExists Bad $NOSUCH$\r\n"                   // line 16
      "@!Nope FileExists NotParsed $NOSUCH$\r\n"
      "@X FileLine Empty\r\n"      // an empty File: a file that cannot be mapped
      "@!X FileLine NotRead\r\n"
      "@X FileLine AtEnd",          // line 20: the section ends before the File

      &calls);
  EXPECT_EQ(Values(map),
            "Empty=0 Later=1 Same=1 SeesFirstNot=1 SeesSecond=1 Twice=1 X=1 ");
  auto log = [&](const std::string& text) { return "log  | " + text; };
  const std::string undefined = QXErr(kUndefinedCondition).what();
  const std::string syntax = QXErr(kSyntaxError).what();
  Calls expected = {
      log(undefined + ", section [Conditions] line #5 Param #0"),
      log(undefined + ", section [Conditions] line #7 Param #0"),
      log(std::string(QXErr(kUnknownCommand).what()) + ", section [Conditions] line #13"),
      log(undefined + ", section [Conditions] line #14 Param #0"),
      log(syntax + ", section [Conditions] line #16 Param #2"),
      log(undefined + ", section [Conditions] line #17 Param #0"),
      log(syntax + ", section [Conditions] line #20 Param #2"),
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
}

TEST_F(Conditions, EvaluateScriptCondition) {
  std::string d = dir_.path();
  dir_.Write("yes.txt", "x");
  std::string with = dir_.Write(
      "with.qxs", "[Conditions]\r\nFileExists Yes \"" + d + "\\yes.txt\"\r\nFileExists No \"" +
                      d + "\\no.txt\"\r\nBogus line\r\n");
  std::string without = dir_.Write("without.qxs", "[Setup]\r\nMisc S\r\n");
  qxi_test::RecordEngineCallbacks();
  EXPECT_EQ(EvaluateScriptCondition((d + "\\missing.qxs").c_str(), "Yes"), 1);
  EXPECT_EQ(EvaluateScriptCondition(without.c_str(), "Yes"), 1);
  EXPECT_EQ(EvaluateScriptCondition(with.c_str(), "yes"), 1);
  EXPECT_EQ(EvaluateScriptCondition(with.c_str(), "No"), 0);
  EXPECT_EQ(EvaluateScriptCondition(with.c_str(), "Undefined"), 0);
  EXPECT_EQ(EvaluateScriptCondition(with.c_str(), nullptr), 0);
  EXPECT_EQ(EvaluateScriptCondition(nullptr, "Yes"), 1);
  // Its own messages: none. A failing test line is reported by the line loop each time, in
  // whatever context is current (none outside a run).
  const std::string unknown =
      "log  | " + std::string(QXErr(kUnknownCommand).what()) + ", section [Conditions] line #3";
  EXPECT_EQ(qxi_test::Recorded(), Calls(4, unknown)) << Lines(qxi_test::Recorded());
}

}  // namespace
}  // namespace qxi
