// deployment_tool: what a deployment tool does with a setup, for the tests under Wine (whose
// own exit status is cut to 8 bits, and 3010 would read as 194):
//   deployment_tool run PROGRAM [ARGS...]   starts it, waits, prints "exit status: N"
//   deployment_tool uninstall NAME [ARGS...] reads QuietUninstallString of the uninstall entry
//                                           NAME (machine-wide, else the user's), starts it
//                                           with ARGS added, waits and prints "exit status: N"
// Its own exit status: 0 when the program ran, 5 when it could not be started or found.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Quotes an argument that holds a blank, as a command line needs it.
std::string Quoted(const std::string& arg) {
  return arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
}

int RunAndReport(std::string command_line) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::printf("cannot start: %s (error %lu)\n", command_line.c_str(), GetLastError());
    return 5;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  std::printf("exit status: %lu\n", code);
  return 0;
}

// The entry's value in the 32-bit view, where a 32-bit setup registers, under HKLM, then HKCU.
bool QuietUninstallString(const std::string& name, std::string& command_line) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, (kUninstallKey + name).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                      &key) != ERROR_SUCCESS) {
      continue;
    }
    char value[2048] = {};
    DWORD size = sizeof value - 1, type = 0;
    const LONG result = RegQueryValueExA(key, "QuietUninstallString", nullptr, &type,
                                         reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result == ERROR_SUCCESS && type == REG_SZ) {
      command_line = value;
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 2 ? argv[1] : "";
  if (command == "run") {
    std::string command_line;
    for (int i = 2; i < argc; ++i) command_line += (i > 2 ? " " : "") + Quoted(argv[i]);
    return RunAndReport(command_line);
  }
  if (command == "uninstall") {
    std::string command_line;
    if (!QuietUninstallString(argv[2], command_line)) {
      std::printf("no QuietUninstallString for %s\n", argv[2]);
      return 5;
    }
    std::printf("QuietUninstallString: %s\n", command_line.c_str());
    for (int i = 3; i < argc; ++i) command_line += " " + Quoted(argv[i]);
    return RunAndReport(command_line);
  }
  std::fprintf(stderr, "usage: deployment_tool run PROGRAM [ARGS...] | uninstall NAME [ARGS...]\n");
  return 2;
}
