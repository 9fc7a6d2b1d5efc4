// MessageBox in a real window (the test runs on a virtual display): a watcher thread finds
// each box the script shows, notes its caption, text, icon and buttons, and presses OK.
#include "system/misc_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

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

}  // namespace
}  // namespace qxi
