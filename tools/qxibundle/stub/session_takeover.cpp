#include "session_takeover.h"

#include <windows.h>

#include <atomic>

#include "engine/unique_handle.h"

namespace qxistub {
namespace {

RunLog* g_log = nullptr;
std::atomic<int> g_requested{-1};

const char* RequestName(unsigned flags) {
  switch (flags) {
    case EWX_LOGOFF:
      return "log-off";
    case EWX_SHUTDOWN:
      return "shut-down";
    default:
      return "restart";
  }
}

void QXI_CALL OnSessionEnd(unsigned int flags) {
  g_requested = static_cast<int>(flags);
  g_log->Line(std::string("The script asked for a ") + RequestName(flags) +
              ": left until the run is over");
}

void QXI_CALL OnMessageBox(const char* text, const char* caption) {
  g_log->Line(std::string("Message box (answered OK): ") + caption + ": " + text);
}

void EnableShutdownPrivilege() {
  HANDLE token_handle = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                        &token_handle)) {
    return;
  }
  qxi::UniqueKernelHandle token(token_handle);
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  }
}

}  // namespace

void TakeOverSession(const StubEngine& engine, RunLog& log, bool silent) {
  g_log = &log;
  engine.register_exit_windows(OnSessionEnd);
  if (silent) engine.register_message_box(OnMessageBox);
}

int RequestedSessionEnd() { return g_requested; }

bool OfferSessionEnd(int flags, const std::string& title) {
  const char* question =
      flags == EWX_LOGOFF ? "To complete, you must log off. Log off now?"
      : flags == EWX_SHUTDOWN
          ? "To complete, the computer must shut down. Shut down now?"
          : "To complete, Windows must restart. Restart now?";
  if (MessageBoxA(nullptr, question, title.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return false;
  }
  if (flags != EWX_LOGOFF) EnableShutdownPrivilege();
  return ExitWindowsEx(static_cast<UINT>(flags), 0) != FALSE;
}

}  // namespace qxistub
