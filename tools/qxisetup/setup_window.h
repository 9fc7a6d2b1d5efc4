// The setup window: the current section's text and bar, the current file and its bar, the
// list of logged failures, a status line and a Close button. It receives the engine thread's
// messages (setup_messages.h) and keeps the run's figures in a ProgressTracker.
#pragma once

#include <windows.h>

#include <string>

#include "progress_tracker.h"

namespace qxisetup {

/// The window's words for what the run does.
struct RunWords {
  const char* running = "Installing...";
  const char* complete = "Installation complete";
  const char* finished_with = "Installation finished with";  ///< followed by "N error(s)"
};

class SetupWindow {
 public:
  /// Creates and shows the window titled `title`. Returns false when Windows refuses.
  /// With `auto_close` the window closes itself when the run ends. The window's icon is the
  /// program's icon resource 1 when it has one.
  bool Create(HINSTANCE instance, const std::string& title, bool auto_close,
              const RunWords& words = RunWords());

  HWND handle() const { return window_; }
  /// Runs this thread's message loop, with the window's keyboard navigation, until the
  /// window has been closed.
  void RunUntilClosed();
  /// 0 when the run logged nothing, 1 otherwise.
  int exit_code() const { return tracker_.counts().errors == 0 ? 0 : 1; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  /// A length of the layout, given for 96 dots per inch, at the screen's resolution.
  int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  void ShowSection();
  void ShowFile();
  void ShowProgress();
  void AddFailure(const std::string& line);
  void RunFinished();

  HWND window_ = nullptr;
  HWND section_text_ = nullptr;
  HWND section_bar_ = nullptr;
  HWND file_text_ = nullptr;
  HWND file_bar_ = nullptr;
  HWND failures_ = nullptr;
  HWND status_ = nullptr;
  HWND close_ = nullptr;
  HFONT font_ = nullptr;
  int widest_failure_ = 0;
  int dpi_ = 96;
  RunWords words_;
  bool auto_close_ = false;
  bool running_ = true;
  qxirun::ProgressTracker tracker_;
};

}  // namespace qxisetup
