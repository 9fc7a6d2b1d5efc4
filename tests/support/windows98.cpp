#include "support/windows98.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace qxi_test {
namespace {

constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\";
constexpr char kVersionValue[] = "Version";
constexpr char kWindows98[] = "win98";
// Set for the child, so that a child still seeing the NT family stops instead of starting
// another.
constexpr char kChildMark[] = "QXI_TEST_AS_WINDOWS98";

std::string OwnFileName() {
  char path[MAX_PATH];
  const std::string full(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return full.substr(full.rfind('\\') + 1);
}

}  // namespace

bool SeesWindows95Family() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void ReportWindows98To(const std::string& program, bool on) {
  const std::string key_path = kAppDefaults + program;
  if (!on) {
    RegDeleteKeyA(HKEY_CURRENT_USER, key_path.c_str());
    return;
  }
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr),
            0);
  EXPECT_EQ(RegSetValueExA(key, kVersionValue, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(kWindows98), sizeof kWindows98),
            0);
  RegCloseKey(key);
}

int RunAgainAsWindows98() {
  if (GetEnvironmentVariableA(kChildMark, nullptr, 0) != 0) {
    std::fprintf(stderr, "Wine does not report Windows 98 to this program\n");
    return 1;
  }
  const std::string program = OwnFileName();
  ReportWindows98To(program, true);
  SetEnvironmentVariableA(kChildMark, "1");
  std::string command_line = GetCommandLineA();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info = {};
  DWORD status = 1;
  if (CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &info)) {
    WaitForSingleObject(info.hProcess, INFINITE);
    GetExitCodeProcess(info.hProcess, &status);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  } else {
    std::fprintf(stderr, "cannot run %s again: error %lu\n", program.c_str(), GetLastError());
  }
  ReportWindows98To(program, false);
  return static_cast<int>(status);
}

}  // namespace qxi_test
