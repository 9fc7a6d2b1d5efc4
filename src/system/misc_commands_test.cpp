// RunApp with a real child program, and the restart requests as they reach ExitWindowsEx.
#include "system/exit_windows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/qx_err.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Lines;
using qxi_test::RunText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

/// The child program, built beside this test.
std::string ChildProgram() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  return path.substr(0, path.rfind('\\') + 1) + "run_app_child.exe";
}

std::vector<std::string> ReadLines(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool HasLine(const std::string& file, const std::string& wanted) {
  for (const auto& line : ReadLines(file)) {
    if (line == wanted) return true;
  }
  return false;
}

/// Waits (bounded) until the child has written `wanted` into `file`.
bool WaitForLine(const std::string& file, const std::string& wanted) {
  for (int i = 0; i < 1500; ++i) {
    if (HasLine(file, wanted)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

/// How many handles this process holds, as the system's handle table lists them (one entry
/// per handle, whatever the kind).
size_t OwnHandleCount() {
  struct HandleEntry {
    ULONG owner_pid;
    UCHAR object_type;
    UCHAR flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
  };
  struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
  };
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  using QueryCall = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryCall>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size()), &length)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  EXPECT_EQ(status, 0);
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  size_t own = 0;
  for (ULONG i = 0; status == 0 && i < table->count; ++i) {
    if (table->entries[i].owner_pid == GetCurrentProcessId()) ++own;
  }
  return own;
}

class RunAppTest : public ::testing::Test {
 protected:
  /// Runs one Misc section holding `lines` after its header; returns the elapsed time.
  std::chrono::milliseconds Run(const std::string& lines) {
    Clock::time_point start = Clock::now();
    calls_ = RunText(dir_, "[Main]\nMisc Apps\n[Apps]\nApps 1\n" + lines, "Main", &script_);
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  }
  /// A RunApp line starting the child with `mode` and `argument`, writing into `out`.
  std::string Line(const std::string& out, const std::string& mode, const std::string& argument,
                   const std::string& directory, int timeout_ms) const {
    return "RunApp \"\"\"" + ChildProgram() + "\"\" " + out + " " + mode + " " + argument +
           "\" \"" + directory + "\" " + std::to_string(timeout_ms) + "\n";
  }
  std::string File(const std::string& name) const { return dir_.path() + "\\" + name; }

  TempDir dir_;
  Calls calls_;
  std::string script_;
};

TEST_F(RunAppTest, TimeoutZeroStartsTheProgramAndGoesOnAtOnce) {
  const std::string out = File("zero.txt"), gate = File("zero.gate");
  Run(Line(out, "gate", gate, dir_.path(), 0) + "NOP\n");
  EXPECT_EQ(calls_, (Calls{"dialog Apps 1", "advance 1", "advance 1"})) << Lines(calls_);
  // The child cannot finish before the gate opens, so the run did not wait for it.
  EXPECT_FALSE(HasLine(out, "done"));
  std::ofstream(gate).put('x');
  ASSERT_TRUE(WaitForLine(out, "done"));
  const std::vector<std::string> lines = ReadLines(out);
  ASSERT_EQ(lines.size(), 2u);
  // Started in the given current directory.
  EXPECT_EQ(lines[0].substr(lines[0].rfind(' ') + 1), dir_.path());
}

TEST_F(RunAppTest, ExpiredTimeoutLeavesTheProgramRunning) {
  const std::string out = File("expire.txt"), gate = File("expire.gate");
  std::chrono::milliseconds elapsed = Run(Line(out, "gate", gate, dir_.path(), 1500));
  EXPECT_EQ(calls_, (Calls{"dialog Apps 1", "advance 1"})) << Lines(calls_);
  EXPECT_GE(elapsed.count(), 1400);
  EXPECT_FALSE(HasLine(out, "done"));
  std::ofstream(gate).put('x');
  EXPECT_TRUE(WaitForLine(out, "done"));
}

TEST_F(RunAppTest, WaitsForTheEndWithinOrWithoutALimit) {
  const std::string unlimited = File("unlimited.txt"), limited = File("limited.txt");
  std::chrono::milliseconds elapsed = Run(Line(unlimited, "sleep", "1500", dir_.path(), -1) +
                                          Line(limited, "sleep", "0", dir_.path(), 60000));
  EXPECT_EQ(calls_, (Calls{"dialog Apps 1", "advance 1", "advance 1"})) << Lines(calls_);
  EXPECT_GE(elapsed.count(), 1400);
  EXPECT_TRUE(HasLine(unlimited, "done"));
  EXPECT_TRUE(HasLine(limited, "done"));

}

TEST_F(RunAppTest, AnEmptyDirectoryStartsTheProgramInTheRunsOwn) {
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  const std::string out = File("here.txt");
  Run(Line(out, "sleep", "0", "", -1));
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(calls_, (Calls{"dialog Apps 1", "advance 1"})) << Lines(calls_);
  const std::vector<std::string> lines = ReadLines(out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(lines[0].rfind(' ') + 1), dir_.path());
  EXPECT_EQ(lines[1], "done");
}

TEST_F(RunAppTest, ClosesTheHandlesOfTheProgram) {
  // One run first, so that whatever the first start loads and keeps is already there.
  Run(Line(File("first.txt"), "sleep", "0", dir_.path(), -1));
  const size_t before = OwnHandleCount();
  Run(Line(File("waited.txt"), "sleep", "0", dir_.path(), -1) +
      Line(File("unwaited.txt"), "sleep", "0", dir_.path(), 0));
  ASSERT_TRUE(WaitForLine(File("unwaited.txt"), "done"));
  EXPECT_EQ(OwnHandleCount(), before);
}

TEST_F(RunAppTest, AProgramThatCannotStartIsARunTimeErrorAndAnyExitCodeIsNot) {
  const auto failed = [this](int line, DWORD error) {
    return "log " + script_ + " | RunApp: section [Apps] line #" + std::to_string(line) + ", " +
           QXErr(kRunTimeError, error).what();
  };
  Run("RunApp \"" + File("missing.exe") + " /x\" \"" + dir_.path() + "\" -1\n"
      "RunApp \"\" \"\" 0\n"
      "RunApp " + ChildProgram() + " \"" + File("no such folder") + "\" -1\n"
      "RunApp " + ChildProgram() + " \"\" -1\n"  // starts, and ends with exit code 2
      "RunApp " + ChildProgram() + " x\n"  // a non-numeric time-out is a syntax error
      "NOP\n");
  EXPECT_EQ(calls_, (Calls{"dialog Apps 1", failed(2, ERROR_FILE_NOT_FOUND), "advance 1",
                           failed(3, ERROR_FILE_NOT_FOUND), "advance 1",
                           failed(4, ERROR_DIRECTORY), "advance 1", "advance 1",
                           "log " + script_ + " | Syntax error, section [Apps] line #6 Param #3",
                           "advance 1"}))
      << Lines(calls_);
}

struct ExitRequest {
  UINT flags;
  DWORD reason;
  bool privileged;  // the shutdown privilege was enabled when the request came
};

std::vector<ExitRequest>& ExitRequests() {
  static std::vector<ExitRequest> requests;
  return requests;
}

bool ShutdownPrivilegeEnabled() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  PRIVILEGE_SET set = {};
  set.PrivilegeCount = 1;
  set.Control = PRIVILEGE_SET_ALL_NECESSARY;
  BOOL enabled = FALSE;
  bool ok = LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &set.Privilege[0].Luid) &&
            PrivilegeCheck(token, &set, &enabled);
  CloseHandle(token);
  return ok && enabled;
}

void DisableShutdownPrivilege() {
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid));
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
}

BOOL WINAPI RefuseExitWindows(UINT flags, DWORD reason) {
  ExitRequests().push_back({flags, reason, ShutdownPrivilegeEnabled()});
  DisableShutdownPrivilege();  // so that the next request must enable it again
  SetLastError(ERROR_PRIVILEGE_NOT_HELD);
  return FALSE;
}

BOOL WINAPI AcceptExitWindows(UINT flags, DWORD reason) {
  ExitRequests().push_back({flags, reason, ShutdownPrivilegeEnabled()});
  DisableShutdownPrivilege();
  return TRUE;
}

std::string RunTime(DWORD error) { return QXErr(kRunTimeError, error).what(); }

TEST(ExitWindows, EachCommandAsksWithItsOwnFlagAndARefusalIsReported) {
  TempDir dir;
  const std::string script =
      "[Main]\nMisc End\n[End]\nEnd 3\nReboot\nLogoff now please\nShutdown ; comment\nNOP\n";
  DisableShutdownPrivilege();
  ExitRequests().clear();
  ExitWindowsCall real = SetExitWindowsCall(AcceptExitWindows);
  std::string path;
  Calls accepted = RunText(dir, script, "Main", &path);
  EXPECT_EQ(accepted, (Calls{"dialog End 3", "advance 1", "advance 1", "advance 1", "advance 1"}))
      << Lines(accepted);

  SetExitWindowsCall(RefuseExitWindows);
  Calls refused = RunText(dir, script, "Main", &path);
  EXPECT_EQ(SetExitWindowsCall(real), &RefuseExitWindows);
  EXPECT_EQ(SetExitWindowsCall(real), real);
  auto log = [&](const char* command, int line) {
    return "log " + path + " | " + command + ": section [End] line #" + std::to_string(line) +
           ", " + RunTime(ERROR_PRIVILEGE_NOT_HELD);
  };
  EXPECT_EQ(refused, (Calls{"dialog End 3", log("Reboot", 2), "advance 1", log("Logoff", 3),
                            "advance 1", log("Shutdown", 4), "advance 1", "advance 1"}))
      << Lines(refused);

  ASSERT_EQ(ExitRequests().size(), 6u);
  const UINT flags[3] = {EWX_REBOOT, EWX_LOGOFF, EWX_SHUTDOWN};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(ExitRequests()[i].flags, flags[i % 3]) << i;
    EXPECT_EQ(ExitRequests()[i].reason, 0u) << i;
    // Restart and shutdown come with the privilege enabled; logging off needs none.
    EXPECT_EQ(ExitRequests()[i].privileged, i % 3 != 1) << i;
  }
}

}  // namespace
}  // namespace qxi
