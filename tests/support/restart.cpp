#include "support/restart.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace qxi_test {
namespace {

constexpr DWORD kProcessWait = 120 * 1000;  // ms; only a hung helper comes near it

}  // namespace

std::string InWindows(const char* name) {
  char buffer[MAX_PATH];
  UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  return std::string(buffer, length) + "\\" + name;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

DWORD RunProgram(std::string command_line) {
  std::string directory = InWindows("");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &info)) {
    ADD_FAILURE() << command_line << ": CreateProcessA error " << GetLastError();
    return ~DWORD{0};
  }
  qxi::UniqueKernelHandle process(info.hProcess);
  qxi::UniqueKernelHandle thread(info.hThread);
  EXPECT_EQ(WaitForSingleObject(process.get(), kProcessWait), WAIT_OBJECT_0) << command_line;
  DWORD status = ~DWORD{0};
  GetExitCodeProcess(process.get(), &status);
  return status;
}

FileHolder::FileHolder(const std::vector<std::string>& files) {
  std::string name = "qxi_hold_" + std::to_string(GetCurrentProcessId());
  ready_.reset(CreateEventA(nullptr, TRUE, FALSE, (name + "_ready").c_str()));
  release_.reset(CreateEventA(nullptr, TRUE, FALSE, (name + "_release").c_str()));
  char self[MAX_PATH];
  std::string helper(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
  helper = helper.substr(0, helper.rfind('\\') + 1) + "hold_files.exe";
  std::string command_line = "\"" + helper + "\" " + name;
  for (const auto& file : files) command_line += " \"" + file + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return;
  }
  process_.reset(info.hProcess);
  CloseHandle(info.hThread);
  HANDLE either[] = {ready_.get(), process_.get()};
  holding_ = WaitForMultipleObjects(2, either, FALSE, kProcessWait) == WAIT_OBJECT_0;
}

DWORD FileHolder::Release() {
  DWORD status = ~DWORD{0};
  if (!process_) return status;
  SetEvent(release_.get());
  WaitForSingleObject(process_.get(), kProcessWait);
  GetExitCodeProcess(process_.get(), &status);
  process_.reset();
  holding_ = false;
  return status;
}

}  // namespace qxi_test
