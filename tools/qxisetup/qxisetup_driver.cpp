// qxisetup_driver PROGRAM ARGS...: starts qxisetup the way a user does, waits until its window
// reports the end of the run (the Close button is enabled), prints what the window shows,
// presses Close and returns qxisetup's exit status. Printed, one per line:
//   section: TEXT   the last command section's text
//   file: TEXT      the last file's text
//   status: TEXT    the closing text
//   errors: N       the number of lines in the error list, then each line as "error: TEXT"
// Exit status 5 when no window appears or the run does not end within ten minutes.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kWindowClass[] = "QxiSetupWindow";
constexpr DWORD kLongestRun = 10 * 60 * 1000;

struct Search {
  DWORD process_id;
  HWND found = nullptr;
};

BOOL CALLBACK FindOwnWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == search->process_id && std::string(name) == kWindowClass) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The window's children in creation order, by class.
std::vector<HWND> Children(HWND parent, const char* window_class) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, window_class) == 0) found.push_back(child);
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qxisetup_driver PROGRAM ARGS...\n");
    return 2;
  }
  std::string command_line;
  for (int i = 1; i < argc; ++i) command_line += std::string(i > 1 ? " " : "") + "\"" + argv[i] + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "qxisetup_driver: cannot start %s\n", argv[1]);
    return 5;
  }
  CloseHandle(process.hThread);

  const DWORD start = GetTickCount();
  HWND window = nullptr;
  HWND close = nullptr;
  while (GetTickCount() - start < kLongestRun) {
    if (window == nullptr) {
      Search search{process.dwProcessId};
      EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(&search));
      window = search.found;
    }
    if (window != nullptr) {
      close = GetDlgItem(window, IDOK);
      if (close != nullptr && IsWindowEnabled(close)) break;
    }
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
  }
  int status = 5;
  if (close != nullptr && IsWindowEnabled(close)) {
    // The static texts in creation order: section, file, the list's caption, status.
    std::vector<HWND> texts = Children(window, "Static");
    std::vector<HWND> lists = Children(window, "ListBox");
    if (texts.size() >= 4) {
      std::printf("section: %s\nfile: %s\nstatus: %s\n", TextOf(texts[0]).c_str(),
                  TextOf(texts[1]).c_str(), TextOf(texts[3]).c_str());
    }
    if (!lists.empty()) {
      const LRESULT count = SendMessageA(lists[0], LB_GETCOUNT, 0, 0);
      std::printf("errors: %ld\n", static_cast<long>(count));
      for (LRESULT i = 0; i < count; ++i) {
        std::vector<char> line(static_cast<size_t>(SendMessageA(lists[0], LB_GETTEXTLEN, i, 0)) + 1);
        SendMessageA(lists[0], LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        std::printf("error: %s\n", line.data());
      }
    }
    std::fflush(stdout);
    SendMessageA(close, BM_CLICK, 0, 0);
    if (WaitForSingleObject(process.hProcess, 60 * 1000) == WAIT_OBJECT_0) {
      DWORD code = 5;
      GetExitCodeProcess(process.hProcess, &code);
      status = static_cast<int>(code);
    }
  }
  CloseHandle(process.hProcess);
  return status;
}
