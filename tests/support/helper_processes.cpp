#include "support/helper_processes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "support/disk_files.h"

namespace qxi_test {
namespace {

constexpr DWORD kProcessWait = 120 * 1000;  // ms; only a hung helper comes near it

// A new file of the temporary directory that a child process can inherit as a standard
// handle; invalid when it cannot be made.
qxi::UniqueFileHandle InheritableOutput(const std::string& path) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return qxi::UniqueFileHandle(CreateFileA(path.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// Starts `command_line` in the Windows directory, with the standard handles of `startup` when
// it names them, waits for its end and returns its exit status.
DWORD RunToEnd(std::string command_line, STARTUPINFOA& startup) {
  std::string directory = InWindows("");
  PROCESS_INFORMATION info = {};
  const BOOL inherit = (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
  if (!CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, inherit, 0, nullptr,
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

}  // namespace

DWORD RunProgram(std::string command_line) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  return RunToEnd(std::move(command_line), startup);
}

ProgramRun RunProgramWithOutput(std::string command_line) {
  char directory[MAX_PATH];
  const std::string temporary(directory, GetTempPathA(MAX_PATH, directory));
  const std::string id = std::to_string(GetCurrentProcessId());
  const std::string out_path = temporary + "qxi_out_" + id, err_path = temporary + "qxi_err_" + id;
  ProgramRun run;
  {
    qxi::UniqueFileHandle out = InheritableOutput(out_path), err = InheritableOutput(err_path);
    if (!out || !err) {
      ADD_FAILURE() << "cannot make the output files in " << temporary;
      return run;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    run.status = RunToEnd(std::move(command_line), startup);
  }
  run.out = WithoutCarriageReturns(ReadText(out_path));
  run.err = WithoutCarriageReturns(ReadText(err_path));
  DeleteFileA(out_path.c_str());
  DeleteFileA(err_path.c_str());
  return run;
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
