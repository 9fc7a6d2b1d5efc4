// MessageBox in a real window (the test runs on a virtual display): a watcher thread finds
// each box the script shows, notes its caption, text, icon and buttons, and presses OK.
#include "system/system_commands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/qx_err.h"
#include "engine/run_script.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Lines;
using qxi_test::RunText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;

/// What the watcher saw of one box.
struct SeenBox {
  std::string caption;
  std::string text;
  bool information_icon = false;
  bool ok_only = false;
};

constexpr int kMessageTextId = 0xFFFF;  // the static control holding the message
constexpr int kMessageIconId = 0x0440;  // the static control holding the icon

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool ShownButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button != nullptr && IsWindowVisible(button);
}

/// Waits (bounded) for a dialog box of this process, reads it and closes it with OK.
bool WatchOneBox(SeenBox& seen) {
  for (int i = 0; i < 3000; ++i) {
    HWND box = FindWindowA("#32770", nullptr);
    DWORD pid = 0;
    if (box != nullptr) GetWindowThreadProcessId(box, &pid);
    if (box != nullptr && pid == GetCurrentProcessId() && IsWindowVisible(box)) {
      seen.caption = WindowText(box);
      seen.text = WindowText(GetDlgItem(box, kMessageTextId));
      HICON icon = reinterpret_cast<HICON>(
          SendDlgItemMessageA(box, kMessageIconId, STM_GETICON, 0, 0));
      seen.information_icon = icon != nullptr && icon == LoadIconA(nullptr, IDI_INFORMATION);
      seen.ok_only = ShownButton(box, IDOK) && !ShownButton(box, IDCANCEL) &&
                     !ShownButton(box, IDYES) && !ShownButton(box, IDNO) &&
                     !ShownButton(box, IDABORT) && !ShownButton(box, IDRETRY) &&
                     !ShownButton(box, IDIGNORE);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      // Wait until it is gone, so that the next search does not find it again.
      for (int j = 0; j < 1500 && IsWindow(box); ++j) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(MessageBoxCommand, ShowsTextAndCaptionWithInformationIconAndOk) {
  TempDir dir;
  std::vector<SeenBox> seen(2);
  bool found[2] = {};
  std::thread watcher([&] {
    for (int i = 0; i < 2; ++i) found[i] = WatchOneBox(seen[i]);
  });
  Calls calls = RunText(dir,
                        "[Main]\nMisc Boxes\n[Boxes]\nBoxes 3\n"
                        "MessageBox \"Setup is complete.\" \"Example Setup\"\n"
                        "MessageBox \"No caption\" \"\"\n"
                        "NOP\n",
                        "Main");
  watcher.join();
  EXPECT_EQ(calls, (Calls{"dialog Boxes 3", "advance 1", "advance 1", "advance 1"}))
      << Lines(calls);
  ASSERT_TRUE(found[0] && found[1]);
  EXPECT_EQ(seen[0].caption, "Example Setup");
  EXPECT_EQ(seen[0].text, "Setup is complete.");
  EXPECT_TRUE(seen[0].information_icon);
  EXPECT_TRUE(seen[0].ok_only);
  EXPECT_EQ(seen[1].caption, "");
  EXPECT_EQ(seen[1].text, "No caption");
  EXPECT_TRUE(seen[1].information_icon);
  EXPECT_TRUE(seen[1].ok_only);
}

// The Setup/Greeting/Conditions example run both ways: the box that appears tells which of
// the two prefixed lines ran, and the callbacks show which lines were skipped.
TEST(MessageBoxCommand, ConditionsChooseTheBoxBothWays) {
  TempDir dir;
  char windir[MAX_PATH];
  ASSERT_NE(GetWindowsDirectoryA(windir, MAX_PATH), 0u);
  const std::string ini = std::string(windir) + "\\oldapp.ini";
  DeleteFileA(ini.c_str());
  const std::string script =
      "[Setup]\r\n"
      "Misc Greeting\r\n"
      "\r\n"
      "[Greeting]\r\n"
      "Welcome 0\r\n"
      "@HasOldIni MessageBox Upgrading Setup\r\n"
      "@!hasoldini MessageBox Installing Setup\r\n"
      "@OldIniHasPaths NOP\r\n"
      "\r\n"
      "[Conditions]\r\n"
      "FileExists HasOldIni $WINDIR$\\oldapp.ini\r\n"
      "@HasOldIni FileLine OldIniHasPaths $WINDIR$\\oldapp.ini [Paths]\r\n"
      "RegKeyExists HasAppKey HKLM Software\\Example\\App\r\n";
  auto run = [&](SeenBox& seen, bool& found, std::string* path) {
    std::thread watcher([&] { found = WatchOneBox(seen); });
    Calls calls = RunText(dir, script, "Setup", path);
    watcher.join();
    return calls;
  };

  std::string path;
  SeenBox fresh;
  bool fresh_found = false;
  Calls without = run(fresh, fresh_found, &path);
  EXPECT_EQ(without, (Calls{"dialog Welcome 0", "advance 1",
                            "log " + path + " | " + QXErr(kUndefinedCondition).what() +
                                ", section [Greeting] line #4 Param #0"}))
      << Lines(without);
  ASSERT_TRUE(fresh_found);
  EXPECT_EQ(fresh.text, "Installing");
  EXPECT_EQ(fresh.caption, "Setup");

  HANDLE file = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "[Paths]\r\nA=1\r\n", 14, &written, nullptr);
  CloseHandle(file);
  SeenBox upgrade;
  bool upgrade_found = false;
  Calls with = run(upgrade, upgrade_found, &path);
  EXPECT_EQ(EvaluateScriptCondition(path.c_str(), "oldinihaspaths"), 1);
  EXPECT_EQ(EvaluateScriptCondition(path.c_str(), "hasappkey"), 0);
  DeleteFileA(ini.c_str());
  EXPECT_EQ(EvaluateScriptCondition(path.c_str(), "OldIniHasPaths"), 0);  // undefined now
  EXPECT_EQ(with, (Calls{"dialog Welcome 0", "advance 1", "advance 1", "advance 1"}))
      << Lines(with);
  ASSERT_TRUE(upgrade_found);
  EXPECT_EQ(upgrade.text, "Upgrading");
  EXPECT_EQ(upgrade.caption, "Setup");
}

}  // namespace
}  // namespace qxi
