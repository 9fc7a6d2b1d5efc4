// Whole scripts through the walkers: every callback, in order, to the character.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "engine/command_group.h"
#include "engine/host_callbacks.h"
#include "engine/qx_err.h"
#include "engine/run_script.h"
#include "engine/script_file.h"
#include "engine/win32_error.h"
#include "engine/message_source.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Lines;
using qxi_test::RunText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;

std::string RunTime(uint32_t error) { return QXErr(kRunTimeError, error).what(); }

#ifdef _WIN32
// The system's text for `error` as the wrappers' exceptions give it.
std::string SystemText(uint32_t error) {
  char text[1024];
  return LoadWin32ErrorText(error, kMessageFlagsForWin32Errors, text, sizeof text) ? text : "";
}
#endif

class Walkers : public ::testing::Test {
 protected:
  Calls Run(const std::string& script, const char* section = "Main") {
    return RunText(dir_, script, section, &path_);
  }
  std::string Log(const std::string& message) const { return "log " + path_ + " | " + message; }

  TempDir dir_;
  std::string path_;
};

TEST_F(Walkers, CommandSectionMessagesAndProgress) {
  Calls calls = Run(
      "[Main]\n"
      "Misc Greeting\n"
      "Bogus Greeting\n"
      "@Nope Misc Greeting\n"
      "Misc Missing Greeting\n"
      "[Greeting]\n"
      "\"Hello there\" 7 ignored\n"
      "NOP\n"
      "Include\n"
      "BadCommand x\n"
      "nop extra tokens ; and a comment\n"
      "MessageBox \"a\"b\n"
      "RunApp missing.exe \"\" 0\n");
  const Calls greeting = {
      "dialog Hello there 7",
      "advance 1",
      "advance 1",
      Log("Unknown command, section [Greeting] line #4"),
      "advance 1",
      Log("Syntax error, section [Greeting] line #6 Param #1"),
#ifdef _WIN32
      Log("RunApp: section [Greeting] line #7, " + RunTime(2)),  // file not found
#else
      // Without the system's actions every system command fails as not supported.
      Log("RunApp: section [Greeting] line #7, " + RunTime(50)),
#endif
      "advance 1",
  };
  Calls expected = greeting;
  expected.push_back(Log("Enum parameter doesn't match valid options: Master section: Main line: 2"));
  expected.push_back(Log("Undefined condition: Master section: Main line: 3"));
  expected.push_back(Log("Section not found: Master section [Main] line #4 param #1"));
  expected.insert(expected.end(), greeting.begin(), greeting.end());
  EXPECT_EQ(calls, expected) << Lines(calls);
}

TEST_F(Walkers, HeaderLineFailures) {
  Calls calls = Run(
      "[Main]\n"
      "FileOps NoHeader\n"
      "Misc Unquoted Commented\n"
      "[NoHeader]\n"
      "MakeDir C:\\x\n"
      "NOP\n"
      "[Unquoted]\n"
      "Hello there 5\n"
      "NOP\n"
      "[Commented]\n"
      "; only a comment\n"
      "NOP\n");
  Calls expected = {
      Log("Syntax error, section header [NoHeader] Param #2"),
      Log("Unknown command, section [NoHeader] line #2"),
      Log("Syntax error, section header [Unquoted] Param #2"),
      "advance 1",
      Log("Syntax error, section header [Commented] Param #2"),
      "advance 1",
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
}

TEST_F(Walkers, GroupsChooseCommandsAndProgress) {
  Calls calls = Run(
      "[Main]\n"
      "FileCopy Copy\n"
      "INI Ini\n"
      "Reg Reg\n"
      "[Copy]\n"
      "Copy 2\n"
      "CopyFile a b c r 0\n"
      "CopyFile a b c r\n"
      "[Ini]\n"
      "Ini 1\n"
      "DeleteKey \"" + dir_.path() + "\\f.ini\" s k\n"
      "[Reg]\n"
      "Reg 2\n"
      "DeleteKey HKLM Software\\X\n"
      "DeleteKey f s\n");
  Calls expected = {
      "dialog Copy 2",
#ifdef _WIN32
      // The source folder "a" does not exist (ERROR_PATH_NOT_FOUND); no advance: own progress.
      Log("CopyFile: section [Copy] line #2, " + std::string(Win32Error(3).what())),
#else
      Log("CopyFile: section [Copy] line #2, " + RunTime(50)),  // no advance: own progress
#endif
      Log("Syntax error, section [Copy] line #3 Param #5"),
      "dialog Ini 1",
#ifndef _WIN32
      // Only the Windows build has the INI actions; removing a missing key reports nothing.
      Log("DeleteKey: section [Ini] line #2, " + RunTime(50)),
#endif
      "advance 1",
      "dialog Reg 2",
#ifdef _WIN32
      // The Windows build really deletes: a missing key is reported in the registry's words.
      Log("DeleteKey: section [Reg] line #2, " + SystemText(2)),
#else
      Log("DeleteKey: section [Reg] line #2, " + RunTime(50)),
#endif
      "advance 1",
      Log("Enum parameter doesn't match valid options, section [Reg] line #3 Param #1"),
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
}

TEST_F(Walkers, ConditionPrefixWithoutConditions) {
  Calls calls = Run(
      "[Main]\n"
      "Misc S\n"
      "[S]\n"
      "S 1\n"
      "@Flag NOP\n"
      "  @!Flag   malformed \"x\"y\n"
      "@");
  Calls expected = {
      "dialog S 1",
      Log("Undefined condition, section [S] line #2 Param #0"),
      Log("Undefined condition, section [S] line #3 Param #0"),
      Log("Syntax error, section [S] line #4 Param #0"),  // no name at the end of the file
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
}

TEST_F(Walkers, MasterSectionLines) {
  Calls calls = Run(
      "[Main]\n"
      "; a comment line counts\n"
      "Misc\n"
      "FileOps \"Broken\"x Second\n"
      "misc Second \"Second\" ; twice\n"
      "[Second]\n"
      "Second 2\n"
      "NOP\n");
  Calls expected = {
      Log("Syntax error: Master section [Main] line #3 param #1"),
      "dialog Second 2",
      Log("Unknown command, section [Second] line #2"),
      "dialog Second 2",
      "advance 1",
      "dialog Second 2",
      "advance 1",
  };
  EXPECT_EQ(calls, expected) << Lines(calls);

  // A master section that names itself runs its own lines as command lines.
  calls = Run("[Main]\nMisc Main\nNOP\n");
  expected = {
      Log("Syntax error, section header [Main] Param #2"),
      "advance 1",
      Log("Enum parameter doesn't match valid options: Master section: Main line: 2"),
  };
  EXPECT_EQ(calls, expected) << Lines(calls);

  // An empty master name runs the text before the first header.
  calls = Run("  Misc Pre\n[Pre]\nPre 1\nNOP\n", "");
  EXPECT_EQ(calls, (Calls{"dialog Pre 1", "advance 1"})) << Lines(calls);
}

TEST_F(Walkers, LineEndsOfEveryKindReadAlike) {
  const std::string lf =
      "[Main]\n\n  Misc S ; run\n\n[S]\n\"Line ends\" 3\n\n   \nNOP\n ; comment\nBad\n";
  Calls reference = Run(lf);
  ASSERT_EQ(reference, (Calls{"dialog Line ends 3", "advance 1",
                              Log("Unknown command, section [S] line #5")}))
      << Lines(reference);
  std::string crlf, cr;
  for (char c : lf) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    cr += c == '\n' ? '\r' : c;
  }
  // The paths differ; the calls after them must not.
  for (const std::string& text : {crlf, cr}) {
    Calls calls = Run(text);
    Calls expected = {"dialog Line ends 3", "advance 1",
                      Log("Unknown command, section [S] line #5")};
    EXPECT_EQ(calls, expected) << Lines(calls);
  }
  // A tab belongs to the token: "\tNOP" is no command name.
  Calls tab = Run("[Main]\nMisc S\n[S]\nS 0\n\tNOP\n");
  EXPECT_EQ(tab, (Calls{"dialog S 0", Log("Unknown command, section [S] line #2")}));
}

TEST_F(Walkers, ScriptsThatCannotRun) {
  const std::string missing = dir_.path() + "/missing.qxs";
  qxi_test::RecordEngineCallbacks();
  RunScript(missing.c_str(), "Setup");
  EXPECT_EQ(qxi_test::Recorded(), (Calls{"log " + missing + " | Couldn't open script file"}));

  std::string empty = dir_.Write("empty.qxs", "");
  qxi_test::RecordEngineCallbacks();
  RunScript(empty.c_str(), "Setup");
  EXPECT_EQ(qxi_test::Recorded(), (Calls{"log " + empty + " | Couldn't open script file"}));

  qxi_test::RecordEngineCallbacks();
  RunScript(nullptr, "Setup");
  EXPECT_EQ(qxi_test::Recorded(), (Calls{"log  | Couldn't open script file"}));

  Calls calls = Run("[Other]\nx 1\n", "Setup");
  EXPECT_EQ(calls, (Calls{Log("Section not found")}));
  qxi_test::RecordEngineCallbacks();
  RunScript(path_.c_str(), nullptr);
  EXPECT_EQ(qxi_test::Recorded(), (Calls{Log("Section not found")}));
  EXPECT_EQ(CurrentScriptPath(), "");

  // With nothing registered a run is silent, whatever it holds.
  ResetCallbacks();
  qxi_test::Recorded().clear();
  RunScript(path_.c_str(), "Setup");
  RunScript(missing.c_str(), "Setup");
  EXPECT_TRUE(qxi_test::Recorded().empty());
}

TEST_F(Walkers, IncludeRunsNestedWithItsOwnContext) {
  std::string inner = dir_.Write("inner.qxs", "[Inner]\nMisc Work\n[Work]\nWork 1\nBad\n");
  const std::string missing = dir_.path() + "/none.qxs";
  Calls calls = Run("[Main]\nMisc Outer\n[Outer]\nOuter 1\nInclude \"" + inner +
                    "\" inner\nInclude \"" + missing + "\" Main\nInclude \"" + missing +
                    "\" \"\"\nBad\n");
  Calls expected = {
      "dialog Outer 1",
      "dialog Work 1",
      "log " + inner + " | Unknown command, section [Work] line #2",
      "advance 1",
      "log  | Section not found",  // a script that cannot be opened has no path
      "advance 1",
      "advance 1",
      Log("Unknown command, section [Outer] line #5"),
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
}

TEST_F(Walkers, IncludeDepthIsLimited) {
  std::string self = dir_.path() + "/self.qxs";
  dir_.Write("self.qxs", "[Main]\nMisc Sub\n[Sub]\nSub 0\nInclude \"" + self + "\" Main\n");
  qxi_test::RecordEngineCallbacks();
  RunScript(self.c_str(), "Main");
  Calls expected(33, "dialog Sub 0");
  expected.push_back("log " + self + " | Include: section [Sub] line #2, " + RunTime(1001));
  expected.insert(expected.end(), 33, "advance 1");
  EXPECT_EQ(qxi_test::Recorded(), expected) << Lines(qxi_test::Recorded());
}

// A group of commands that fail in chosen ways, for the rows of the message table that the
// built-in commands cannot reach yet.
class FailingCommand : public Command {
 public:
  FailingCommand(std::string name, std::function<void()> fail)
      : name_(std::move(name)), fail_(std::move(fail)) {}
  std::string Name() const override { return name_; }
  void Execute() override { fail_(); }

 private:
  std::string name_;
  std::function<void()> fail_;
};

class FailingGroup : public CommandGroup {
 public:
  FailingGroup() : CommandGroup("Failing", Commands()) {}

 private:
  static std::vector<std::unique_ptr<Command>> Commands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<FailingCommand>("Seven", [] { throw QXErr(kNeedDirectory); }));
    commands.push_back(std::make_unique<FailingCommand>("Six", [] { throw QXErr(kRunTimeError, 2); }));
    commands.push_back(std::make_unique<FailingCommand>("Std", [] { throw std::runtime_error("boom"); }));
    return commands;
  }
};

void QXI_CALL ThrowingDialog(const char*, int) { throw 42; }

TEST_F(Walkers, ExecuteFailuresOfEveryKindAndUncaughtExceptions) {
  std::string file = dir_.Write("f.qxs", "[S]\nS 0\nseven\nsix\nstd\n");
  ScriptFile script(file.c_str());
  FailingGroup group;
  group.SetUp(script.FindSection("S"), script.text_end(), "S");
  qxi_test::RecordEngineCallbacks();
  group.RunSection({});
  Calls expected = {
      "dialog S 0",
      "log  | section [S] line #2, Must use a directory for source operation",
      "advance 1",
      "log  | Six: section [S] line #3, " + RunTime(2),
      "advance 1",
      "log  | Std: section [S] line #4, boom",
      "advance 1",
  };
  EXPECT_EQ(qxi_test::Recorded(), expected) << Lines(qxi_test::Recorded());

  // An exception outside the standard family ends the run with one report in its context.
  qxi_test::RecordEngineCallbacks();
  RegisterDialog(ThrowingDialog);
  std::string script_path = dir_.Write("u.qxs", "[Main]\nMisc S\nMisc S\n[S]\nS 1\nNOP\n");
  RunScript(script_path.c_str(), "Main");
  EXPECT_EQ(qxi_test::Recorded(),
            (Calls{"log " + script_path + " | Uncaught exception - Unknown error"}));
  EXPECT_EQ(CurrentScriptPath(), "");
}

}  // namespace
}  // namespace qxi
