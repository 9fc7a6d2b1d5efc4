// Window layout, message handling and the bars. The window cannot be closed while the engine
// runs: a half-run script is the one thing an installer must not leave behind by accident.
#include "setup_window.h"

#include <commctrl.h>

#include <memory>

#include "setup_messages.h"

namespace qxisetup {
namespace {

constexpr char kClassName[] = "QxiSetupWindow";
constexpr int kCloseId = IDOK;

// Layout of the client area, in pixels at 96 dots per inch.
constexpr int kWidth = 520;
constexpr int kHeight = 360;
constexpr int kMargin = 12;
constexpr int kTextHeight = 18;
constexpr int kBarHeight = 18;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

// Progress bars take 32-bit ranges, and a file may have up to 4 GB: every bar runs over a
// fixed scale instead, and positions are proportions of it.
constexpr int kBarScale = 1000;

void SetBar(HWND bar, long long done, long long total) {
  long long position = 0;
  if (total > 0) {
    if (done > total) done = total;
    if (done > 0) position = done * kBarScale / total;
  }
  SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

std::string FinishedText(const RunWords& words, int errors) {
  if (errors == 0) return words.complete;
  return std::string(words.finished_with) + " " + std::to_string(errors) +
         (errors == 1 ? " error" : " errors");
}

// The screen's resolution. A program that declares itself DPI-aware gets the real one and
// scales its layout; for others Windows answers 96 and scales the finished window itself.
int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 96;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

bool SetupWindow::Create(HINSTANCE instance, const std::string& title, bool auto_close,
                         const RunWords& words) {
  auto_close_ = auto_close;
  words_ = words;
  dpi_ = ScreenDpi();
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  if (window_class.hIcon == nullptr) window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (!RegisterClassExA(&window_class)) return false;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame = {0, 0, Scaled(kWidth), Scaled(kHeight)};
  AdjustWindowRect(&frame, style, FALSE);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // Centred on the work area, where a setup program is expected.
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;
  window_ = CreateWindowExA(WS_EX_CONTROLPARENT, kClassName, title.c_str(), style,
                            x > work.left ? x : work.left, y > work.top ? y : work.top, width,
                            height, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  return true;
}

void SetupWindow::RunUntilClosed() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

LRESULT CALLBACK SetupWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    auto* self = static_cast<SetupWindow*>(create->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<SetupWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT SetupWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case kMsgTitle: {
      std::unique_ptr<PostedText> posted(reinterpret_cast<PostedText*>(lparam));
      SetWindowTextA(window_, posted->text.c_str());
      return 0;
    }
    case kMsgSection: {
      std::unique_ptr<PostedText> posted(reinterpret_cast<PostedText*>(lparam));
      tracker_.BeginSection(posted->text.c_str(), posted->number);
      ShowSection();
      return 0;
    }
    case kMsgFile: {
      std::unique_ptr<PostedText> posted(reinterpret_cast<PostedText*>(lparam));
      tracker_.BeginFile(posted->text.c_str(), posted->number);
      ShowFile();
      return 0;
    }
    case kMsgAdvance:
      tracker_.Advance(static_cast<int>(wparam));
      ShowProgress();
      return 0;
    case kMsgLog: {
      std::unique_ptr<PostedText> posted(reinterpret_cast<PostedText*>(lparam));
      tracker_.CountError();
      AddFailure(posted->text);
      return 0;
    }
    case kMsgDone:
      RunFinished();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == kCloseId && !running_) DestroyWindow(window_);
      return 0;
    case WM_CLOSE:
      if (running_) {
        MessageBeep(MB_ICONWARNING);
      } else {
        DestroyWindow(window_);
      }
      return 0;
    case WM_DESTROY:
      if (font_ != nullptr) DeleteObject(font_);
      PostQuitMessage(exit_code());
      return 0;
    default:
      return DefWindowProcA(window_, message, wparam, lparam);
  }
}

void SetupWindow::CreateControls() {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font_ = CreateFontIndirectA(&metrics.lfMessageFont);
  }
  auto make = [&](const char* window_class, const char* text, DWORD style, int x, int y, int w,
                  int h, int id, DWORD ex_style = 0) {
    HWND control = CreateWindowExA(ex_style, window_class, text, WS_CHILD | WS_VISIBLE | style,
                                   Scaled(x), Scaled(y), Scaled(w), Scaled(h), window_,
                                   reinterpret_cast<HMENU>(INT_PTR{id}), instance, nullptr);
    HFONT font = font_ != nullptr ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  };
  const int inner = kWidth - 2 * kMargin;
  int y = kMargin;
  section_text_ = make("STATIC", "Starting...", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX,
                       kMargin, y, inner, kTextHeight, 0);
  y += kTextHeight + 4;
  section_bar_ = make(PROGRESS_CLASSA, "", PBS_SMOOTH, kMargin, y, inner, kBarHeight, 0);
  SendMessageA(section_bar_, PBM_SETRANGE32, 0, kBarScale);
  y += kBarHeight + 12;
  file_text_ = make("STATIC", "", SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS | SS_NOPREFIX, kMargin, y,
                    inner, kTextHeight, 0);
  y += kTextHeight + 4;
  file_bar_ = make(PROGRESS_CLASSA, "", PBS_SMOOTH, kMargin, y, inner, kBarHeight, 0);
  SendMessageA(file_bar_, PBM_SETRANGE32, 0, kBarScale);
  y += kBarHeight + 14;
  make("STATIC", "Errors:", SS_NOPREFIX, kMargin, y, inner, kTextHeight, 0);
  y += kTextHeight + 2;
  const int list_bottom = kHeight - kMargin - kButtonHeight - 10;
  failures_ = make("LISTBOX", "", WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT |
                                      LBS_NOSEL,
                   kMargin, y, inner, list_bottom - y, 0, WS_EX_CLIENTEDGE);
  const int bottom_y = kHeight - kMargin - kButtonHeight;
  status_ = make("STATIC", words_.running, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX,
                 kMargin, bottom_y, inner - kButtonWidth - 10, kButtonHeight, 0);
  close_ = make("BUTTON", "Close", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_DISABLED,
                kWidth - kMargin - kButtonWidth, bottom_y, kButtonWidth, kButtonHeight, kCloseId);
}

void SetupWindow::ShowSection() {
  SetWindowTextA(section_text_, tracker_.section_text().c_str());
  SetWindowTextA(file_text_, "");
  SetBar(file_bar_, 0, 0);
  ShowProgress();
}

void SetupWindow::ShowFile() {
  SetWindowTextA(file_text_, tracker_.file_name().c_str());
  ShowProgress();
}

void SetupWindow::ShowProgress() {
  SetBar(section_bar_, tracker_.section_done(), tracker_.section_total());
  if (tracker_.has_file()) SetBar(file_bar_, tracker_.file_done(), tracker_.file_size());
}

void SetupWindow::AddFailure(const std::string& line) {
  LRESULT index = SendMessageA(failures_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  if (index >= 0) SendMessageA(failures_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  // Failure lines are long (path, section, line, system text): let the list scroll sideways.
  HDC dc = GetDC(failures_);
  if (dc != nullptr) {
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(failures_, WM_GETFONT, 0, 0)));
    SIZE size = {};
    if (GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size) &&
        size.cx + 8 > widest_failure_) {
      widest_failure_ = size.cx + 8;
      SendMessageA(failures_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest_failure_), 0);
    }
    SelectObject(dc, old);
    ReleaseDC(failures_, dc);
  }
}

void SetupWindow::RunFinished() {
  running_ = false;
  SetWindowTextA(status_, FinishedText(words_, tracker_.counts().errors).c_str());
  EnableWindow(close_, TRUE);
  SetFocus(close_);
  if (auto_close_) DestroyWindow(window_);
}

}  // namespace qxisetup
