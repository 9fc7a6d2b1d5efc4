// CreateShortcut through whole scripts: each link is loaded back through the shell's own link
// object, and CShortcut's diagnostics are caught on their way to the debugger output.
#include "system/system_commands.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/host_callbacks.h"
#include "engine/run_script.h"
#include "support/script_runner.h"
#include "system/com_ptr.h"

namespace qxi {
namespace {

using qxi_test::Lines;
using qxi_test::RunText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;

/// Every text written with OutputDebugStringA while it lives. The system raises
/// DBG_PRINTEXCEPTION_C for each; a first-chance handler reads it and lets it go on.
class DebugOutput {
 public:
  DebugOutput() : handler_(AddVectoredExceptionHandler(1, Catch)) { Texts().clear(); }
  ~DebugOutput() { RemoveVectoredExceptionHandler(handler_); }
  const std::vector<std::string>& texts() const { return Texts(); }

 private:
  static std::vector<std::string>& Texts() {
    static std::vector<std::string> texts;
    return texts;
  }
  static LONG CALLBACK Catch(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
      Texts().emplace_back(reinterpret_cast<const char*>(record->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }
  void* handler_;
};

/// What a saved link holds, read back through IShellLinkA.
struct LinkContents {
  std::string path, arguments, directory, icon;
  int icon_index = -1;
};

LinkContents LoadLink(const std::string& file) {
  LinkContents contents;
  CoInitialization com;
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> persist;
  EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkA, link.put())));
  if (!link) return contents;
  EXPECT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.put())));
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  EXPECT_TRUE(SUCCEEDED(persist->Load(wide, STGM_READ))) << file;
  char text[1024];
  // SLGP_RAWPATH: the target as stored, not resolved against this machine.
  if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) contents.path = text;
  if (SUCCEEDED(link->GetArguments(text, sizeof text))) contents.arguments = text;
  if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) contents.directory = text;
  if (SUCCEEDED(link->GetIconLocation(text, sizeof text, &contents.icon_index))) {
    contents.icon = text;
  }
  return contents;
}

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class CreateShortcutTest : public ::testing::Test {
 protected:
  Calls Run(const std::string& lines) {
    return RunText(dir_, "[Main]\nFileOps Links\n[Links]\nLinks 1\n" + lines, "Main", &script_);
  }
  std::string Path(const std::string& name) const { return dir_.path() + "\\" + name; }

  TempDir dir_;
  std::string script_;
};

TEST_F(CreateShortcutTest, WritesEveryPropertyIntoNewFolders) {
  DebugOutput debug;
  const std::string full = Path("Menu\\Example\\Readme.lnk");
  const std::string bare = Path("Bare.lnk");
  const std::string plain = Path("NoExtension");
  Calls calls = Run("CreateShortcut \"" + full + "\" C:\\windows\\notepad.exe " +
                    "\"C:\\windows\\readme.txt /p\" C:\\windows C:\\windows\\notepad.exe 2\n" +
                    "CreateShortcut \"" + bare + "\" C:\\Example\\app.exe \"\" \"\" \"\" 7\n" +
                    "CreateShortcut \"" + plain + "\" C:\\Example\\app.exe /s \"\" " +
                    "C:\\Example\\app.exe 1\n");
  EXPECT_EQ(calls, (Calls{"dialog Links 1", "advance 1", "advance 1", "advance 1"}))
      << Lines(calls);
  EXPECT_EQ(debug.texts(), std::vector<std::string>{});

  LinkContents link = LoadLink(full);
  EXPECT_EQ(link.path, "C:\\windows\\notepad.exe");
  EXPECT_EQ(link.arguments, "C:\\windows\\readme.txt /p");
  EXPECT_EQ(link.directory, "C:\\windows");
  EXPECT_EQ(link.icon, "C:\\windows\\notepad.exe");
  EXPECT_EQ(link.icon_index, 2);

  // Empty work directory and icon location stay unset; the icon index is then ignored.
  link = LoadLink(bare);
  EXPECT_EQ(link.path, "C:\\Example\\app.exe");
  EXPECT_EQ(link.arguments, "");
  EXPECT_EQ(link.directory, "");
  EXPECT_EQ(link.icon, "");
  EXPECT_EQ(link.icon_index, 0);

  // No extension is added.
  EXPECT_TRUE(IsFile(plain));
  EXPECT_FALSE(IsFile(plain + ".lnk"));
  link = LoadLink(plain);
  EXPECT_EQ(link.arguments, "/s");
  EXPECT_EQ(link.icon_index, 1);
}

TEST_F(CreateShortcutTest, ABareNameIsAFileInTheCurrentDirectory) {
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  Calls calls = Run("CreateShortcut Here.lnk C:\\Example\\app.exe \"\" \"\" \"\" 0\n");
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(calls, (Calls{"dialog Links 1", "advance 1"})) << Lines(calls);
  EXPECT_TRUE(IsFile(Path("Here.lnk")));
  EXPECT_EQ(LoadLink(Path("Here.lnk")).path, "C:\\Example\\app.exe");
}

TEST_F(CreateShortcutTest, ResetsTheAttributesOfAnExistingFolder) {
  const std::string folder = Path("Hidden");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY |
                                                     FILE_ATTRIBUTE_HIDDEN));
  ASSERT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  Run("CreateShortcut " + folder + "\\App.lnk C:\\app.exe \"\" \"\" \"\" 0\n");
  EXPECT_EQ(GetFileAttributesA(folder.c_str()) &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            0u);
  EXPECT_TRUE(IsFile(folder + "\\App.lnk"));
}

TEST_F(CreateShortcutTest, FailedSavesAreToldOnlyToTheDebugger) {
  DebugOutput debug;
  // A folder that cannot be made, because a file holds its name.
  const std::string blocker = dir_.Write("Blocker", "x");
  // A name longer than the 260-character conversion buffer.
  const std::string long_name = Path(std::string(300 - dir_.path().size(), 'n') + ".lnk");
  Calls calls = Run("CreateShortcut " + blocker + "\\App.lnk C:\\app.exe \"\" \"\" \"\" 0\n" +
                    "CreateShortcut " + long_name + " C:\\app.exe \"\" \"\" \"\" 0\n" +
                    "CreateShortcut " + Path("Good.lnk") + " C:\\app.exe \"\" \"\" \"\"\n");
  // The icon index must be on the line even when the icon location is empty.
  EXPECT_EQ(calls, (Calls{"dialog Links 1", "advance 1", "advance 1",
                          "log " + script_ + " | Syntax error, section [Links] line #4 Param #6"}))
      << Lines(calls);
  EXPECT_EQ(debug.texts(),
            (std::vector<std::string>{"CShortcut: Save failed\n", "CShortcut: Save failed\n"}));
  EXPECT_FALSE(IsFile(long_name.substr(0, MAX_PATH - 1)));
  EXPECT_FALSE(IsFile(Path("Good.lnk")));
}

// What a single-threaded initialisation of the host's thread answers during the run: S_FALSE
// while the engine's own initialisation holds.
std::vector<HRESULT>& ApartmentAnswers() {
  static std::vector<HRESULT> answers;
  return answers;
}
void QXI_CALL AskForApartment(int) {
  const HRESULT answer = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(answer)) CoUninitialize();
  ApartmentAnswers().push_back(answer);
}

TEST_F(CreateShortcutTest, ComLastsForTheRunAndLeavesTheThreadAsItFoundIt) {
  const std::string first = Path("First.lnk"), second = Path("Second.lnk");
  const std::string script = dir_.Write("links.qxs", "[Main]\nFileOps Links\n[Links]\nLinks 1\n"
                                        "CreateShortcut " + first + " C:\\app.exe \"\" \"\" \"\" 0\n"
                                        "CreateShortcut " + second + " C:\\app.exe \"\" \"\" \"\" 0\n");
  HRESULT afterwards = E_FAIL;
  std::thread worker([&] {
    qxi_test::RecordEngineCallbacks();
    RegisterAdvance(AskForApartment);
    ApartmentAnswers().clear();
    RunScript(script.c_str(), "Main");
    // Had the engine left its single-threaded initialisation behind, this would fail with
    // RPC_E_CHANGED_MODE.
    afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(afterwards)) CoUninitialize();
  });
  worker.join();
  // Initialised by the first shortcut, still so after the second: once for the run.
  EXPECT_EQ(ApartmentAnswers(), (std::vector<HRESULT>{S_FALSE, S_FALSE}));
  EXPECT_TRUE(IsFile(first));
  EXPECT_TRUE(IsFile(second));
  EXPECT_EQ(afterwards, S_OK);
}

TEST_F(CreateShortcutTest, AThreadInTheMultithreadedApartmentGetsNoLink) {
  DebugOutput debug;
  const std::string link = Path("Mta.lnk");
  Calls calls;
  std::thread worker([&] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    calls = Run("CreateShortcut " + link + " C:\\app.exe \"\" \"\" \"\" 0\n");
    CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(calls, (Calls{"dialog Links 1", "advance 1"})) << Lines(calls);
  EXPECT_EQ(debug.texts(), std::vector<std::string>{"CShortcut: CoInitialize failed\n"});
  EXPECT_FALSE(IsFile(link));
}

}  // namespace
}  // namespace qxi
