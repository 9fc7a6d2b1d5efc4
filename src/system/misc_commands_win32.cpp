#include "system/system_commands.h"

#include <windows.h>

#include <string>
#include <vector>

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/last_error.h"
#include "engine/unique_handle.h"
#include "system/exit_windows.h"

namespace qxi {
namespace {

ExitWindowsCall g_exit_windows = ExitWindowsEx;

// A restart or shutdown needs the shutdown privilege, which a process holds disabled until
// it enables it. Failing to enable it is not an error of its own: the request then reports.
void EnableShutdownPrivilege() {
  HANDLE token_handle = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                        &token_handle)) {
    return;
  }
  UniqueKernelHandle token(token_handle);
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  }
}

// `command` names the request in the journal.
void RequestExitWindows(UINT flags, const char* command) {
  if (flags != EWX_LOGOFF) EnableShutdownPrivilege();
  // The request is carried out asynchronously and the run goes on with the next line. A
  // refused request is reported: the restart that completes the installation would
  // otherwise silently never come.
  if (!g_exit_windows(flags, 0)) ThrowLastError();
  Journal({journal_kind::kExitWindows, command});
}

}  // namespace

ExitWindowsCall SetExitWindowsCall(ExitWindowsCall call) {
  ExitWindowsCall previous = g_exit_windows;
  g_exit_windows = call;
  return previous;
}

namespace system_commands {

void ShowMessageBox(const ParamList& params) {
  MessageBoxA(nullptr, params[kBody].c_str(), params[kTitle].c_str(), MB_OK | MB_ICONINFORMATION);
}

void RunApp(const ParamList& params) {
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  const std::string& command_line = params[kCommandLine];
  std::vector<char> writable(command_line.begin(), command_line.end());
  writable.push_back('\0');

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // An empty directory would make the start fail: the program then runs in the current
  // directory of the run, as when no directory is given at all.
  const std::string& directory = params[kDirectory];
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE,
                      CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
    // A step that never ran must not look done. Once started, what the program does and
    // the code it ends with are its own business.
    throw QXErr(kRunTimeError, GetLastError());
  }
  Journal({journal_kind::kRunApp, command_line, directory});
  // Both handles are ours to close; the program itself runs on without them.
  UniqueKernelHandle process_handle(process.hProcess);
  UniqueKernelHandle thread_handle(process.hThread);

  const DWORD timeout_ms = static_cast<DWORD>(params[kTimeout]);  // -1 is INFINITE
  if (timeout_ms != 0) WaitForSingleObject(process_handle.get(), timeout_ms);
}

void Reboot(const ParamList&) { RequestExitWindows(EWX_REBOOT, "Reboot"); }
void Logoff(const ParamList&) { RequestExitWindows(EWX_LOGOFF, "Logoff"); }
void Shutdown(const ParamList&) { RequestExitWindows(EWX_SHUTDOWN, "Shutdown"); }

}  // namespace system_commands
}  // namespace qxi
