// Deferred replacement and deletion on the NT family (this Wine's default): the operations in
// the Session Manager's PendingFileRenameOperations of this test's own prefix, and the error
// when they cannot be recorded. The restart itself is carried out by the round trip of
// tests/restart.
#include "files/deferred_operations.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "support/disk_files.h"
#include "support/key_access.h"
#include "support/restart_records.h"
#include "support/run_time_error.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Exists;
using qxi_test::NtName;
using qxi_test::PendingFileRenameNames;
using qxi_test::ReplacingNtName;
using qxi_test::RunTimeErrorOf;
using qxi_test::TempDir;
using Texts = std::vector<std::string>;
using namespace std::string_literals;

constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

class Deferred : public ::testing::Test {
 protected:
  // This prefix is the test's own: nothing is recorded for the restart when a test starts.
  void SetUp() override { qxi_test::ClearRestartRecords(); }
  void TearDown() override { qxi_test::ClearRestartRecords(); }

  std::string In(const char* name) const { return dir_.path() + "\\" + name; }

  TempDir dir_;
};

TEST_F(Deferred, ReplaceKeepsOneOperationPerDestinationWithTheLastSource) {
  // Near the longest path the system takes, and beyond it.
  const std::string long_source = In("") + std::string(255 - In("").size(), 's');
  const std::string too_long = In("") + std::string(100, 's') + "\\" + std::string(200, 's');
  ScheduleReplace(In("a.dll"), In("first.tmp"));
  ScheduleReplace(In("b.dll"), In("b.tmp"));
  ScheduleReplace(Upper(In("a.dll")), In("second.tmp"));  // the same file, other case
  ScheduleReplace(In("c.dll"), long_source);
  EXPECT_EQ(RunTimeErrorOf([&] { ScheduleReplace(In("e.dll"), too_long); }),
            uint32_t{ERROR_FILENAME_EXCED_RANGE});
  EXPECT_EQ(PendingFileRenameNames(),
            Texts({NtName(In("b.tmp")), ReplacingNtName(In("b.dll")), NtName(In("second.tmp")),
                   ReplacingNtName(Upper(In("a.dll"))), NtName(long_source), ReplacingNtName(In("c.dll"))}));
  EXPECT_EQ(PendingSource(In("A.DLL")), In("second.tmp"));
  EXPECT_EQ(PendingSource(In("c.dll")), long_source);  // whole, beyond 255 characters
  EXPECT_EQ(PendingSource(In("d.dll")), "");
  EXPECT_FALSE(Exists(qxi_test::WininitPath()));  // the NT family never reads it
}

TEST_F(Deferred, DeleteRecordsEachFileOnceAndKeepsOtherProgramsOperations) {
  // Another program's operations, one of them naming a file the ANSI code page cannot spell:
  // rewriting the value to drop a superseded replacement must keep them exactly.
  const std::wstring foreign = L"\\??\\C:\\other\\\x0416.new\0!\\??\\C:\\other\\\x0416.dll\0"
                               L"\\??\\C:\\other\\old.tmp\0\0\0"s;
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE | KEY_QUERY_VALUE,
                          &key),
            0);
  ASSERT_EQ(RegSetValueExW(key, L"PendingFileRenameOperations", 0, REG_MULTI_SZ,
                           reinterpret_cast<const BYTE*>(foreign.data()),
                           static_cast<DWORD>(foreign.size() * sizeof(wchar_t))),
            0);
  ScheduleDelete(In("x.tmp"));
  ScheduleDelete(Upper(In("x.tmp")));  // recorded already
  ScheduleReplace(In("a.dll"), In("first.tmp"));
  ScheduleReplace(In("a.dll"), In("second.tmp"));  // drops the first replacement
  ScheduleDelete(In("y.tmp"));
  EXPECT_EQ(PendingFileRenameNames(),
            Texts({NtName("C:\\other\\?.new"), ReplacingNtName("C:\\other\\?.dll"),
                   NtName("C:\\other\\old.tmp"), "", NtName(In("x.tmp")), "",
                   NtName(In("second.tmp")), ReplacingNtName(In("a.dll")), NtName(In("y.tmp")), ""}));
  std::wstring data(4096, L'\0');
  DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  ASSERT_EQ(RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                             reinterpret_cast<BYTE*>(&data[0]), &size),
            0);
  RegCloseKey(key);
  EXPECT_EQ(data.substr(0, foreign.size() - 1), foreign.substr(0, foreign.size() - 1));
}

TEST_F(Deferred, RelativeNamesAreRecordedAsFullPaths) {
  // The restart has another current directory: relative names would name other files then.
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  ScheduleReplace("sub\\a.dll", ".\\a.new");
  ScheduleDelete("old.tmp");
  EXPECT_EQ(PendingFileRenameNames(),
            Texts({NtName(In("a.new")), ReplacingNtName(In("sub\\a.dll")), NtName(In("old.tmp")), ""}));
  EXPECT_EQ(PendingSource("sub\\a.dll"), In("a.new"));
  SetCurrentDirectoryA(qxi_test::InWindows("").c_str());  // let the folder go before it is removed
}

TEST_F(Deferred, WithoutTheRightToRecordNothingIsRecordedAndTheSystemsErrorIsRaised) {
  ScheduleDelete(In("kept.tmp"));
  qxi_test::DenyKeyAccess(HKEY_LOCAL_MACHINE, kSessionManager, true);
  const uint32_t replace_error = RunTimeErrorOf([&] { ScheduleReplace(In("a.dll"), In("a.new")); });
  const uint32_t delete_error = RunTimeErrorOf([&] { ScheduleDelete(In("x.tmp")); });
  const std::string source = PendingSource(In("a.dll"));
  qxi_test::DenyKeyAccess(HKEY_LOCAL_MACHINE, kSessionManager, false);
  EXPECT_EQ(replace_error, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(delete_error, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(source, "");
  EXPECT_EQ(PendingFileRenameNames(), Texts({NtName(In("kept.tmp")), ""}));
}

}  // namespace
}  // namespace qxi
