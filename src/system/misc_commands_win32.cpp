#include "system/misc_commands.h"

#include <string>
#include <vector>

#include "engine/unique_handle.h"

namespace qxi {
namespace {

ExitWindowsCall g_exit_windows = ExitWindowsEx;

void RequestExitWindows(UINT flags) {
  // The request is asynchronous and its result is not ours to report: Windows either acts
  // on it in its own time or refuses it, and the run goes on with the next line either way.
  g_exit_windows(flags, 0);
}

}  // namespace

void ShowMessageBox(const ParamList& params) {
  MessageBoxA(nullptr, params.Text(0).c_str(), params.Text(1).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

void RunApp(const ParamList& params) {
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  const std::string& command_line = params.Text(0);
  std::vector<char> writable(command_line.begin(), command_line.end());
  writable.push_back('\0');

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE,
                      CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr,
                      params.Text(1).c_str(), &startup, &process)) {
    return;
  }
  // Both handles are ours to close; the program itself runs on without them.
  UniqueKernelHandle process_handle(process.hProcess);
  UniqueKernelHandle thread_handle(process.hThread);

  const DWORD timeout_ms = static_cast<DWORD>(params.Integer(2));  // -1 is INFINITE
  if (timeout_ms != 0) WaitForSingleObject(process_handle.get(), timeout_ms);
}

void Reboot(const ParamList&) { RequestExitWindows(EWX_REBOOT); }
void Logoff(const ParamList&) { RequestExitWindows(EWX_LOGOFF); }
void Shutdown(const ParamList&) { RequestExitWindows(EWX_SHUTDOWN); }

ExitWindowsCall SetExitWindowsCall(ExitWindowsCall call) {
  ExitWindowsCall previous = g_exit_windows;
  g_exit_windows = call;
  return previous;
}

}  // namespace qxi
