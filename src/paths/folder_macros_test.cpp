// Folder macros on a real (Wine) machine: the system's directories, the drive list, the
// user's shell folders from HKCU and the programs folder, compared with what the test itself
// asks the system for; and the folder of the running script, through nested runs.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/params.h"
#include "engine/qx_err.h"
#include "engine/folder_macros.h"
#include "engine/run_script.h"
#include "registry/reg_key.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Lines;
using qxi_test::RunText;
using qxi_test::TempDir;

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ShellFolderValue(const char* name) {
  char data[1024];
  DWORD size = sizeof data;
  DWORD type = 0;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, kShellFolders, name, RRF_RT_ANY, &type, data, &size),
            ERROR_SUCCESS)
      << name;
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
  return std::string(data);
}

TEST(FolderMacros, SystemDirectoriesAsTheSystemGivesThem) {
  char windir[MAX_PATH], sysdir[MAX_PATH], temp[MAX_PATH];
  ASSERT_NE(GetWindowsDirectoryA(windir, MAX_PATH), 0u);
  ASSERT_NE(GetSystemDirectoryA(sysdir, MAX_PATH), 0u);
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  EXPECT_EQ(ExpandFolderMacros("$WINDIR$\\win.ini"), std::string(windir) + "\\win.ini");
  EXPECT_EQ(ExpandFolderMacros("$SysDir$"), sysdir);
  // The temporary directory keeps its trailing backslash; the text is not normalised.
  EXPECT_EQ(ExpandFolderMacros("$TEMP$setup.log"), std::string(temp) + "setup.log");
  EXPECT_EQ(ExpandFolderMacros("$TEMP$\\setup.log"), std::string(temp) + "\\setup.log");
  EXPECT_EQ(std::string(temp).back(), '\\');
}

TEST(FolderMacros, ShellFoldersFromTheCurrentUser) {
  EXPECT_EQ(ExpandFolderMacros("$START$"), ShellFolderValue("Start Menu"));
  EXPECT_EQ(ExpandFolderMacros("$STARTUP$"), ShellFolderValue("Startup"));
  EXPECT_EQ(ExpandFolderMacros("$PROGS$\\Tools"), ShellFolderValue("Programs") + "\\Tools");
  EXPECT_EQ(ExpandFolderMacros("$Desktop$"), ShellFolderValue("Desktop"));
  EXPECT_EQ(ExpandFolderMacros("$DESKTOP$"), ShellFolderValue("Desktop"));
}

// The drive of the first CD-ROM: D: on the shared test machine, which has none; the test
// run in a prefix with CD-ROM drives names the expected drive in QXI_EXPECTED_CDROM.
TEST(FolderMacros, CdromIsTheFirstCdromDrive) {
  const char* expected = std::getenv("QXI_EXPECTED_CDROM");
  EXPECT_EQ(ExpandFolderMacros("$CDROM$\\setup.exe"),
            std::string(expected != nullptr ? expected : "D:") + "\\setup.exe");
}

// Sets a Shell Folders value to another type for the test's life and puts it back after.
class ShellFolderOfOtherType {
 public:
  ShellFolderOfOtherType(const char* name, DWORD type) : name_(name), saved_(ShellFolderValue(name)) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, &key);
    RegSetValueExA(key, name_, 0, type, reinterpret_cast<const BYTE*>(saved_.c_str()),
                   static_cast<DWORD>(saved_.size() + 1));
    RegCloseKey(key);
  }
  ~ShellFolderOfOtherType() {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, &key);
    RegSetValueExA(key, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_.c_str()),
                   static_cast<DWORD>(saved_.size() + 1));
    RegCloseKey(key);
  }

 private:
  const char* name_;
  std::string saved_;
};

TEST(FolderMacros, ExpandStringShellFolderFailsEveryLineThatUsesIt) {
  TempDir dir;
  std::string path;
  std::vector<std::string> calls;
  {
    ShellFolderOfOtherType expand("Desktop", REG_EXPAND_SZ);
    try {
      ExpandFolderMacros("$DESKTOP$\\a.lnk");
      ADD_FAILURE() << "no exception";
    } catch (const RegKey::Except& e) {
      EXPECT_EQ(e.code(), 0);
    }
    calls = RunText(dir,
                    "[Main]\r\nMisc S\r\n[S]\r\nHeader 1\r\n"
                    "MessageBox $DESKTOP$ title\r\n"
                    "NOP\r\n"
                    "MessageBox x $desktop$\r\n",
                    "Main", &path);
  }
  std::string what = RegKey::Except(0).what();
  std::vector<std::string> expected = {
      "dialog Header 1",
      "log " + path + " | " + what + ", section [S] line #2 Param #1",
      "advance 1",
      "log " + path + " | " + what + ", section [S] line #4 Param #2",
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
  EXPECT_EQ(ExpandFolderMacros("$DESKTOP$"), ShellFolderValue("Desktop"));  // restored
}

TEST(FolderMacros, PathParamExpandsAfterQuotesAndSyntaxErrorsSkipTheLine) {
  TempDir dir;
  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  ASSERT_EQ(dir.path().rfind(temp, 0), 0u) << "the test folder lies in the temporary directory";
  ASSERT_TRUE(CreateDirectoryA((dir.path() + "\\My App").c_str(), nullptr));
  std::string inner = dir.Write("My App\\inner.qxs", "[Inner]\r\nMisc W\r\n[W]\r\nW 1\r\nBad\r\n");
  std::string relative = inner.substr(std::string(temp).size());
  std::string path;
  std::vector<std::string> calls = RunText(
      dir,
      "[Main]\r\nMisc S\r\n[S]\r\nHeader 1\r\n"
      "Include \"$TEMP$" + relative + "\" Inner\r\n"
      "Include $WINDIR Main\r\n"
      "Include $$WINDIR$ Main\r\n"
      "Include a.qxs $NOSUCH$\r\n",
      "Main", &path);
  std::string log = "log " + path + " | ";
  std::string syntax = QXErr(kSyntaxError).what();
  // The included script reports with its own path: the expanded text, blank kept.
  std::vector<std::string> expected = {
      "dialog Header 1",
      "dialog W 1",
      "log " + inner + " | Unknown command, section [W] line #2",
      "advance 1",
      log + syntax + ", section [S] line #3 Param #1",
      log + syntax + ", section [S] line #4 Param #1",
      log + syntax + ", section [S] line #5 Param #2",
  };
  EXPECT_EQ(calls, expected) << Lines(calls);
}

TEST(FolderMacros, ProgramFilesIsTheFolderForProgramsOfTheEnginesOwnKind) {
  char shell[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, shell), S_OK);
  const std::string folder = ExpandFolderMacros("$ProgramFiles$");
  EXPECT_EQ(folder, shell);
  EXPECT_EQ(ExpandFolderMacros("$PROGRAMFILES$\\Hello"), folder + "\\Hello");
  // A 32-bit engine on 64-bit Windows installs where 32-bit programs belong.
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_EQ(folder.find(" (x86)") != std::string::npos, wow64 != FALSE) << folder;
}

// Restores the current folder when it goes.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& folder) {
    GetCurrentDirectoryA(MAX_PATH, saved_);
    EXPECT_TRUE(SetCurrentDirectoryA(folder.c_str())) << folder;
  }
  ~CurrentFolder() { SetCurrentDirectoryA(saved_); }

 private:
  char saved_[MAX_PATH] = {};
};

TEST(FolderMacros, ScriptDirIsTheFolderOfTheScriptWhoseLinesAreRead) {
  TempDir dir, elsewhere;
  ASSERT_TRUE(CreateDirectoryA((dir.path() + "\\sub").c_str(), nullptr));
  // The leaf's failing line reports with the leaf's path as Include gave it: the expansion.
  const std::string leaf = dir.Write("sub\\leaf.qxs", "[Leaf]\r\nMisc W\r\n[W]\r\nW 1\r\nBad\r\n");
  dir.Write("sub\\inner.qxs",
            "[Inner]\r\nMisc S\r\n[S]\r\nS 1\r\nInclude $SCRIPTDIR$\\leaf.qxs Leaf\r\n");
  dir.Write("outer.qxs",
            "[Main]\r\nMisc S\r\n[S]\r\nS 2\r\n"
            "Include $scriptdir$\\sub\\inner.qxs Inner\r\n"  // the inner script's own folder
            "Include $SCRIPTDIR$\\sub\\leaf.qxs Leaf\r\n"    // the outer one's again after it
            "[Conditions]\r\nFileExists Here $SCRIPTDIR$\\sub\\leaf.qxs\r\n"
            "FileExists There $SCRIPTDIR$\\leaf.qxs\r\n");
  const std::vector<std::string> leaf_run = {
      "dialog W 1", "log " + leaf + " | Unknown command, section [W] line #2"};
  std::vector<std::string> expected = {"dialog S 2", "dialog S 1"};
  expected.insert(expected.end(), leaf_run.begin(), leaf_run.end());
  expected.push_back("advance 1");  // the inner Include line
  expected.push_back("advance 1");  // the first outer Include line
  expected.insert(expected.end(), leaf_run.begin(), leaf_run.end());
  expected.push_back("advance 1");
  {
    // Named by its full path from another folder, and relative to its own.
    CurrentFolder away(elsewhere.path());
    qxi_test::RecordEngineCallbacks();
    RunScript((dir.path() + "\\outer.qxs").c_str(), "Main");
    EXPECT_EQ(qxi_test::Recorded(), expected) << Lines(qxi_test::Recorded());
    EXPECT_EQ(EvaluateScriptCondition((dir.path() + "\\outer.qxs").c_str(), "Here"), 1);
    EXPECT_EQ(EvaluateScriptCondition((dir.path() + "\\outer.qxs").c_str(), "There"), 0);
  }
  {
    CurrentFolder here(dir.path());
    qxi_test::RecordEngineCallbacks();
    RunScript("outer.qxs", "Main");
    EXPECT_EQ(qxi_test::Recorded(), expected) << Lines(qxi_test::Recorded());
    EXPECT_EQ(EvaluateScriptCondition("outer.qxs", "Here"), 1);
  }
  // Outside a script there is no script folder.
  EXPECT_EQ(ExpandFolderMacros("$SCRIPTDIR$"), "");
}

}  // namespace
}  // namespace qxi
