// Black-box tests of QXI.dll: loaded with LoadLibrary and driven through its exports with
// recording callbacks, exactly as a host program would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "qxi.h"
#include "support/disk_files.h"
#include "support/script_runner.h"

namespace {

using Calls = std::vector<std::string>;
using qxi_test::Lines;
using qxi_test::Recorded;
using qxi_test::SystemText;
using qxi_test::TempDir;

void QXI_CALL RecordLog(const char* context, const char* message) {
  Recorded().push_back(std::string("log ") + context + " | " + message);
}
void QXI_CALL RecordOtherLog(const char*, const char* message) {
  Recorded().push_back(std::string("other ") + message);
}
void QXI_CALL RecordTitle(const char* text) { Recorded().push_back(std::string("title ") + text); }
void QXI_CALL RecordDialog(const char* text, int number) {
  Recorded().push_back("dialog " + std::string(text) + " " + std::to_string(number));
}
void QXI_CALL RecordSubDialog(const char* text, int number) {
  Recorded().push_back("subdialog " + std::string(text) + " " + std::to_string(number));
}
void QXI_CALL RecordAdvance(int amount) { Recorded().push_back("advance " + std::to_string(amount)); }
void QXI_CALL RecordEvent(int kind, const char* text, unsigned int number) {
  Recorded().push_back("event " + std::to_string(kind) + " " + text + " " +
                       std::to_string(number));
}


template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class Dll : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA("QXI.dll");
    ASSERT_NE(module_, nullptr) << GetLastError();
    process_ = Export<QxiProcessQXS>(module_, "ProcessQXS");
    register_log_ = Export<QxiRegisterLogFunction>(module_, "RegisterLogFunction");
    auto title = Export<QxiRegisterSetDialogTitle>(module_, "RegisterSetDialogTitle");
    auto dialog = Export<QxiRegisterSetDialog>(module_, "RegisterSetDialog");
    auto sub_dialog = Export<QxiRegisterSetSubDialog>(module_, "RegisterSetSubDialog");
    auto advance = Export<QxiRegisterAdvanceDialog>(module_, "RegisterAdvanceDialog");
    ASSERT_TRUE(process_ && register_log_ && title && dialog && sub_dialog && advance);
    EXPECT_EQ(register_log_(RecordLog), &RecordLog);
    EXPECT_EQ(title(RecordTitle), &RecordTitle);
    EXPECT_EQ(dialog(RecordDialog), &RecordDialog);
    EXPECT_EQ(sub_dialog(RecordSubDialog), &RecordSubDialog);
    EXPECT_EQ(advance(RecordAdvance), &RecordAdvance);
    Recorded().clear();
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  Calls Run(const std::string& script, const char* section) {
    path_ = dir_.Write("script.qxs", script);
    Recorded().clear();
    process_(path_.c_str(), section);
    return Recorded();
  }
  std::string Log(const std::string& message) const { return "log " + path_ + " | " + message; }

  HMODULE module_ = nullptr;
  QxiProcessQXS process_ = nullptr;
  QxiRegisterLogFunction register_log_ = nullptr;
  TempDir dir_;
  std::string path_;
};

TEST_F(Dll, RunsAScriptWithTheModulesOwnTexts) {
  Calls calls = Run(
      "[Setup]\n"
      "Misc Welcome Files\n"
      "Misc Missing\n"
      "[Welcome]\n"
      "\"Welcome to QXI\" 4\n"
      "NOP\n"
      "RunApp missing.exe \"\" 0\n"
      "Frobnicate\n"
      "[Files]\n"
      "Files 1\n"
      "Include \"\" \"\"\n",
      "Setup");
  Calls expected = {
      "dialog Welcome to QXI 4",
      "advance 1",
      Log("RunApp: section [Welcome] line #3,  run time error \"" + SystemText(ERROR_FILE_NOT_FOUND) +
          "\""),
      "advance 1",
      Log("Unknown command, section [Welcome] line #4"),
      "dialog Files 1",
      "advance 1",
      Log("Section not found: Master section [Setup] line #2 param #1"),
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
}

// Every command line reached gives one event (run or skipped) or one log call; master lines
// and test lines give none; each file tells whether it was written or left by priority.
TEST_F(Dll, TheRunsEventsTellLinesRunOrSkippedAndWhatBecameOfEachFile) {
  auto register_event = Export<QxiRegisterEventFunction>(module_, "RegisterEventFunction");
  ASSERT_NE(register_event, nullptr);
  EXPECT_EQ(register_event(RecordEvent), &RecordEvent);
  const std::string source = dir_.path() + "\\source", installed = dir_.path() + "\\installed";
  ASSERT_TRUE(CreateDirectoryA(source.c_str(), nullptr));
  dir_.Write("source\\a.txt", "abc");
  const std::string inner = dir_.Write("inner.qxs", "[Inner]\nMisc Work\n[Work]\nWork 1\nNOP\n");
  const std::string copy = "CopyFile \"" + source + "\" \"" + installed + "\" ";
  Calls calls = Run(
      "[Setup]\n"
      "@!Yes Misc Never\n"
      "Misc Steps\n"
      "FileCopy Copy\n"
      "[Steps]\n"
      "Steps 5\n"
      "@Yes NOP\n"
      "@!Yes NOP\n"
      "Bogus\n"
      "Include \"" + inner + "\" Inner\n"
      "[Copy]\n"
      "Copy 0\n" +
      copy + "a.txt \"\" 5\n" +
      copy + "a.txt \"\" 5\n"
      "@!Yes " + copy + "a.txt \"\" 0\n" +
      copy + "none.txt \"\" 0\n"
      "[Never]\nNever 1\nNOP\n"
      "[Conditions]\n"
      "FileExists Yes \"" + source + "\\a.txt\"\n",
      "Setup");
  const std::string a = installed + "\\a.txt";
  Calls expected = {
      "dialog Steps 5",
      "event 1 Steps 2", "advance 1",
      "event 2 Steps 3", "advance 1",
      Log("Unknown command, section [Steps] line #4"),
      "dialog Work 1", "event 1 Work 2", "advance 1",
      "event 1 Steps 5", "advance 1",
      "dialog Copy 0",
      "subdialog a.txt 3", "advance 3", "event 3 " + a + " 3", "event 1 Copy 2",
      "subdialog a.txt 3", "event 4 " + a + " 3", "event 1 Copy 3",
      "event 2 Copy 4",
      Log("CopyFile: section [Copy] line #5, " + SystemText(ERROR_FILE_NOT_FOUND)),
      "event 1 Copy 5",
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Brenvale\\Tarnset\\Priorities", a.c_str());

  // Null puts back the silent default: the other callbacks are as before.
  EXPECT_EQ(register_event(nullptr), nullptr);
  calls = Run("[Setup]\nMisc S\n[S]\nS 1\nNOP\n", "Setup");
  EXPECT_EQ(calls, (Calls{"dialog S 1", "advance 1"})) << Lines(calls);
}

TEST_F(Dll, ReportsScriptsThatCannotRunAndSurvivesNullArguments) {
  const std::string missing = dir_.path() + "\\missing.qxs";
  Recorded().clear();
  process_(missing.c_str(), "Setup");
  EXPECT_EQ(Recorded(), (Calls{"log " + missing + " | Couldn't open script file"}));

  Recorded().clear();
  process_(nullptr, "Setup");
  EXPECT_EQ(Recorded(), (Calls{"log  | Couldn't open script file"}));

  Calls calls = Run("[Setup]\nMisc S\n[S]\nS 1\n", "Nowhere");
  EXPECT_EQ(calls, (Calls{Log("Section not found")}));
  Recorded().clear();
  process_(path_.c_str(), nullptr);
  EXPECT_EQ(Recorded(), (Calls{Log("Section not found")}));

  // A second log function replaces the first; null puts back the silent default.
  EXPECT_EQ(register_log_(RecordOtherLog), &RecordOtherLog);
  Recorded().clear();
  process_(missing.c_str(), "Setup");
  EXPECT_EQ(Recorded(), (Calls{"other Couldn't open script file"}));
  EXPECT_EQ(register_log_(nullptr), nullptr);
  Recorded().clear();
  process_(missing.c_str(), "Setup");
  EXPECT_TRUE(Recorded().empty());
}

void QXI_CALL RecordJournal(const char* record) {
  Recorded().push_back(std::string("journal ") + record);
}

TEST_F(Dll, TheJournalFunctionReceivesEachChangeUntilNullIsRegistered) {
  auto register_journal = Export<QxiRegisterJournalFunction>(module_, "RegisterJournalFunction");
  ASSERT_NE(register_journal, nullptr);
  EXPECT_EQ(register_journal(RecordJournal), &RecordJournal);
  const std::string flag = dir_.path() + "\\flag.txt";
  std::string escaped;
  for (char c : flag) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  const std::string script = "[Setup]\nFileOps S\n[S]\nS 2\nCreateFile \"" + flag +
                             "\" \"\"\nCreateFile \"" + flag + "\" \"\"\n";
  Calls calls = Run(script, "Setup");
  ASSERT_EQ(calls.size(), 5u) << Lines(calls);
  EXPECT_EQ(calls[1], "journal FileWrite\t" + escaped + "\tabsent");
  // The second line failed (the file exists): it changed nothing, so it journals nothing.
  EXPECT_EQ(calls[3].rfind("log ", 0), 0u) << calls[3];

  EXPECT_EQ(register_journal(nullptr), nullptr);
  DeleteFileA(flag.c_str());
  calls = Run(script, "Setup");
  EXPECT_EQ(calls.size(), 4u) << Lines(calls);
  EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const std::string& call) {
    return call.rfind("journal", 0) == 0;
  })) << Lines(calls);
}

TEST_F(Dll, EvaluateConditionAnswersWithoutRunningAnything) {
  auto evaluate = Export<QxiEvaluateCondition>(module_, "EvaluateCondition");
  ASSERT_NE(evaluate, nullptr);
  const std::string there = dir_.Write("there.txt", "[Paths]\r\n");
  const std::string script = dir_.Write(
      "conditions.qxs",
      "[Setup]\r\nMisc S\r\n[S]\r\nS 1\r\nReboot\r\n"
      "[Conditions]\r\n"
      "FileExists HasFile \"" + there + "\"\r\n"
      "@HasFile FileLine HasPaths \"" + there + "\" [paths]\r\n"
      "@!HasFile FileExists NeverDefined \"" + there + "\"\r\n"
      "FileExists NoFile \"" + dir_.path() + "\\none.txt\"\r\n"
      "Reboot\r\n");
  const std::string plain = dir_.Write("plain.qxs", "[Setup]\r\nMisc S\r\n[S]\r\nS 1\r\n");
  Recorded().clear();
  EXPECT_EQ(evaluate((dir_.path() + "\\missing.qxs").c_str(), "HasFile"), 1);
  EXPECT_EQ(evaluate(plain.c_str(), "HasFile"), 1);
  EXPECT_EQ(evaluate(script.c_str(), "hasfile"), 1);
  EXPECT_EQ(evaluate(script.c_str(), "HASPATHS"), 1);
  EXPECT_EQ(evaluate(script.c_str(), "NoFile"), 0);
  EXPECT_EQ(evaluate(script.c_str(), "NeverDefined"), 0);
  EXPECT_EQ(evaluate(script.c_str(), "Undefined"), 0);
  // No message of its own and nothing run: only the failing test line, once per call that
  // read the section, with the empty context of no run.
  const std::string unknown = "log  | Unknown command, section [Conditions] line #5";
  EXPECT_EQ(Recorded(), Calls(5, unknown)) << Lines(Recorded());
}

}  // namespace
