// CopyFile through whole scripts: the exact progress callbacks, the real files, the
// priorities store in HKEY_LOCAL_MACHINE and the operations recorded for the restart. The test
// runs in a Wine prefix of its own, so it may remove the store and the restart records and
// simulate a restart.
#include "files/file_commands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/qx_err.h"
#include "registry/priorities.h"
#include "support/key_access.h"
#include "support/priority_store.h"
#include "support/disk_files.h"
#include "support/helper_processes.h"
#include "support/restart_records.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::FileHolder;
using qxi_test::DenyKeyAccess;
using qxi_test::HasPendingFileRenames;
using qxi_test::Lines;
using qxi_test::PriorityStoreExists;
using qxi_test::ReadText;
using qxi_test::RemovePriorityStore;
using qxi_test::RunProgram;
using qxi_test::RunText;
using qxi_test::StoredPriority;
using qxi_test::StorePriority;
using qxi_test::StorePriorityText;
using qxi_test::TempDir;
using Calls = std::vector<std::string>;

// `size` bytes that differ from one `seed` to another.
std::string Pattern(size_t size, int seed) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + seed * 31 + i / 251);
  return bytes;
}

// The system's text for `error` as the file wrapper formats it (lines up to 250 characters).
std::string SystemText(DWORD error) {
  char text[1024];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | 250, nullptr, error,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text,
                                nullptr);
  return std::string(text, length);
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class CopyFileCommandTest : public ::testing::Test {
 protected:
  // This prefix is the test's own: the store and the restart records start empty in every
  // test.
  void SetUp() override {
    RemovePriorityStore();
    qxi_test::ClearRestartRecords();
    CreateDirectoryA(source_dir_.c_str(), nullptr);
  }
  void TearDown() override {
    EXPECT_FALSE(Exists(qxi_test::WininitPath()));  // the NT family never reads it
    qxi_test::ClearRestartRecords();
  }

  // Runs `lines` as the commands of a FileCopy section whose header is "Copy 1".
  Calls Run(const std::string& lines) {
    return RunText(dir_, "[Main]\nFileCopy Copy\n[Copy]\nCopy 1\n" + lines, "Main", &script_);
  }
  // The same, with the run's events recorded too.
  Calls RunWithEvents(const std::string& lines) {
    return qxi_test::RunTextWithEvents(dir_, "[Main]\nFileCopy Copy\n[Copy]\nCopy 1\n" + lines,
                                       "Main", &script_);
  }
  // A CopyFile line for `name` from the source folder into `destination_dir`.
  std::string Line(const std::string& name, const char* attributes, int priority,
                   const std::string& destination_dir) const {
    return "CopyFile \"" + source_dir_ + "\" \"" + destination_dir + "\" " + name + " " +
           attributes + " " + std::to_string(priority) + "\n";
  }
  std::string Line(const std::string& name, const char* attributes, int priority) const {
    return Line(name, attributes, priority, destination_dir_);
  }
  std::string Source(const std::string& name) const { return source_dir_ + "\\" + name; }
  std::string Destination(const std::string& name) const {
    return destination_dir_ + "\\" + name;
  }
  std::string Log(const std::string& message) const { return "log " + script_ + " | " + message; }

  TempDir dir_;
  const std::string source_dir_ = dir_.path() + "\\source";
  const std::string destination_dir_ = dir_.path() + "\\installed";
  // The one operation recorded must replace `destination`: the staged copy it names (a file
  // QXI*.TMP beside the destination), or "".
  std::string StagedReplacement(const std::string& destination) const {
    const std::vector<std::string> names = qxi_test::PendingFileRenameNames();
    const std::string folder = destination.substr(0, destination.rfind('\\') + 1);
    if (names.size() != 2 || names[1] != qxi_test::ReplacingNtName(destination) ||
        names[0].compare(0, 4 + folder.size() + 3, qxi_test::NtName(folder) + "QXI") != 0 ||
        names[0].find('\\', 4 + folder.size()) != std::string::npos ||
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, names[0].c_str() + names[0].size() - 4,
                       -1, ".TMP", -1) != CSTR_EQUAL) {
      ADD_FAILURE() << "unexpected restart operations for " << destination << ":\n"
                    << Lines(names);
      return "";
    }
    return names[0].substr(4);
  }

  std::string script_;
};

TEST_F(CopyFileCommandTest, ProgressGoesByBlocksOf4096Bytes) {
  const std::string data = Pattern(10000, 1), page = Pattern(4096, 2);
  dir_.Write("source\\A.BIN", data);
  dir_.Write("source\\EMPTY.TXT", "");
  dir_.Write("source\\PAGE.BIN", page);
  CreateDirectoryA(destination_dir_.c_str(), nullptr);
  dir_.Write("installed\\A.BIN", Pattern(20000, 3));  // longer than the source: truncated
  Calls calls = Run(Line("A.BIN", "N", 0) + Line("EMPTY.TXT", "N", 0) + Line("PAGE.BIN", "N", 0));
  EXPECT_EQ(calls, (Calls{"dialog Copy 1", "subdialog A.BIN 10000", "advance 4096", "advance 4096",
                          "advance 1808", "subdialog EMPTY.TXT 0", "subdialog PAGE.BIN 4096",
                          "advance 4096"}))
      << Lines(calls);
  EXPECT_TRUE(ReadText(Destination("A.BIN")) == data);
  EXPECT_TRUE(Exists(Destination("EMPTY.TXT")));
  EXPECT_EQ(ReadText(Destination("EMPTY.TXT")), "");
  EXPECT_TRUE(ReadText(Destination("PAGE.BIN")) == page);
  EXPECT_FALSE(HasPendingFileRenames());
  EXPECT_FALSE(PriorityStoreExists());  // priority 0 is never stored
}

TEST_F(CopyFileCommandTest, PriorityDecidesWhetherToCopyAndIsStored) {
  const std::string name = "LIB.DLL", destination = Destination(name);
  const std::string data = Pattern(300, 4);
  dir_.Write("source\\LIB.DLL", data);
  CreateDirectoryA(destination_dir_.c_str(), nullptr);
  // Runs one copy over an older destination; true when the destination was replaced.
  auto copies = [&](int priority) {
    dir_.Write("installed\\LIB.DLL", "older");
    Calls calls = Run(Line(name, "N", priority));
    std::string contents = ReadText(destination);
    Calls expected = {"dialog Copy 1", "subdialog LIB.DLL 300"};
    if (contents == data) expected.push_back("advance 300");
    EXPECT_EQ(calls, expected) << Lines(calls);
    EXPECT_TRUE(contents == data || contents == "older");
    return contents == data;
  };
  DWORD type = 0;
  {
    SCOPED_TRACE("0 over nothing");
    EXPECT_TRUE(copies(0));
    EXPECT_FALSE(PriorityStoreExists());
  }
  {
    SCOPED_TRACE("0 over 5");
    StorePriority(destination, 5);
    EXPECT_TRUE(copies(0));
    EXPECT_EQ(StoredPriority(destination, &type), 5u);
  }
  {
    SCOPED_TRACE("5 over 5");
    EXPECT_FALSE(copies(5));
    EXPECT_EQ(StoredPriority(destination, &type), 5u);
  }
  {
    SCOPED_TRACE("5 over 4");
    StorePriority(destination, 4);
    EXPECT_TRUE(copies(5));
    EXPECT_EQ(StoredPriority(destination, &type), 5u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  }
  {
    SCOPED_TRACE("5 over no store");
    RemovePriorityStore();
    EXPECT_TRUE(copies(5));
    EXPECT_EQ(StoredPriority(destination, &type), 5u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  }
  {
    SCOPED_TRACE("-1 over 5, then over itself");
    EXPECT_TRUE(copies(-1));
    EXPECT_EQ(StoredPriority(destination, &type), 0xFFFFFFFFu);
    EXPECT_FALSE(copies(-1));
    EXPECT_FALSE(copies(0x7FFFFFFF));
    EXPECT_TRUE(copies(0));
    EXPECT_EQ(StoredPriority(destination, &type), 0xFFFFFFFFu);
  }
  {
    SCOPED_TRACE("1 over a text value");
    StorePriorityText(destination, "9");
    EXPECT_TRUE(copies(1));
    EXPECT_EQ(StoredPriority(destination, &type), 1u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  }
  EXPECT_FALSE(HasPendingFileRenames());
}

TEST_F(CopyFileCommandTest, MissingSourceIsReportedAndNothingIsCopied) {
  dir_.Write("source\\A.TXT", "abc");
  const std::string nowhere = dir_.path() + "\\nowhere";
  Calls calls = Run(Line("NONE.DLL", "N", 5) + Line("A.TXT", "N", 0) +
                    "CopyFile \"" + nowhere + "\" \"" + destination_dir_ + "\" B.TXT N 0\n");
  EXPECT_EQ(calls, (Calls{"dialog Copy 1",
                          Log("CopyFile: section [Copy] line #2, " +
                              SystemText(ERROR_FILE_NOT_FOUND)),
                          "subdialog A.TXT 3", "advance 3",
                          Log("CopyFile: section [Copy] line #4, " +
                              SystemText(ERROR_PATH_NOT_FOUND))}))
      << Lines(calls);
  EXPECT_FALSE(Exists(Destination("NONE.DLL")));
  EXPECT_FALSE(Exists(Destination("B.TXT")));
  EXPECT_EQ(ReadText(Destination("A.TXT")), "abc");
  EXPECT_FALSE(PriorityStoreExists());
  EXPECT_FALSE(HasPendingFileRenames());
}

TEST_F(CopyFileCommandTest, DestinationInUseIsReplacedAtTheRestart) {
  const std::string source = Source("IN_USE.DLL"), destination = Destination("IN_USE.DLL");
  const std::string data = Pattern(5000, 5);
  dir_.Write("source\\IN_USE.DLL", data);
  CreateDirectoryA(destination_dir_.c_str(), nullptr);
  dir_.Write("installed\\IN_USE.DLL", "old contents");
  {
    FileHolder holder({destination});
    ASSERT_TRUE(holder.holding());
    Calls calls = RunWithEvents(Line("IN_USE.DLL", "N", 3));
    // No block was written: the whole size goes to the progress at once. The host hears
    // that the file waits for the restart.
    EXPECT_EQ(calls, (Calls{"dialog Copy 1", "subdialog IN_USE.DLL 5000", "advance 5000",
                            "event 5 " + destination + " 5000", "event 1 Copy 2"}))
        << Lines(calls);
    // A copy of the source waits beside the destination; the source stays where it is.
    const std::string first = StagedReplacement(destination);
    EXPECT_TRUE(ReadText(first) == data);
    // Copied again while still in use: the earlier copy gives way to the new one.
    Run(Line("IN_USE.DLL", "N", 3));
    const std::string second = StagedReplacement(destination);
    EXPECT_NE(second, first);
    EXPECT_FALSE(Exists(first));
    EXPECT_TRUE(ReadText(second) == data);
    EXPECT_EQ(holder.Release(), 0u);
  }
  DWORD type = 0;
  StoredPriority(destination, &type);
  EXPECT_EQ(type, 0u);  // nothing was written, so nothing is recorded
  EXPECT_EQ(ReadText(destination), "old contents");
  EXPECT_EQ(RunProgram("wineboot.exe -r"), 0u);
  EXPECT_TRUE(ReadText(destination) == data);
  EXPECT_TRUE(ReadText(source) == data);  // the installation medium keeps its file
}

// A destination that can never be written is reported, not handed to the restart, which could
// not write it either: a folder in its place (refused with ERROR_ACCESS_DENIED, as a read-only
// file is on Windows; Wine run as root writes read-only files), and a folder that cannot be
// made because a file stands in its place.
TEST_F(CopyFileCommandTest, DestinationThatCanNeverBeWrittenIsReported) {
  const std::string destination = Destination("DIR.DLL");
  dir_.Write("source\\DIR.DLL", Pattern(6000, 6));
  CreateDirectoryA(destination_dir_.c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
  dir_.Write("installed\\FILE", "a file, not a folder");
  Calls calls =
      RunWithEvents(Line("DIR.DLL", "N", 4) + Line("DIR.DLL", "N", 0, Destination("FILE")));
  const auto failure = [&](int line, DWORD error) {
    return Log("CopyFile: section [Copy] line #" + std::to_string(line) + ", " +
               QXErr(kRunTimeError, error).what());
  };
  // The host hears of no file waiting for the restart.
  EXPECT_EQ(calls, (Calls{"dialog Copy 1", "subdialog DIR.DLL 6000",
                          failure(2, ERROR_ACCESS_DENIED), "event 1 Copy 2",
                          "subdialog DIR.DLL 6000", failure(3, ERROR_PATH_NOT_FOUND),
                          "event 1 Copy 3"}))
      << Lines(calls);
  EXPECT_EQ(GetFileAttributesA(destination.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(qxi_test::PendingFileRenameNames().empty());
  EXPECT_FALSE(PriorityStoreExists());
  WIN32_FIND_DATAA found;
  EXPECT_EQ(FindFirstFileA((destination_dir_ + "\\QXI*").c_str(), &found), INVALID_HANDLE_VALUE);
}

TEST_F(CopyFileCommandTest, SubPathsAndMissingFoldersAreCreated) {
  const std::string nested = dir_.path() + "\\new\\deeper";
  const std::string a = Pattern(100, 7), b = Pattern(50, 8);
  CreateDirectoryA(Source("SUB").c_str(), nullptr);
  dir_.Write("source\\SUB\\A.DLL", a);
  dir_.Write("source\\B.DLL", b);
  Calls calls = Run(Line("SUB\\A.DLL", "N", 2, nested) + Line("B.DLL", "N", 0, nested));
  EXPECT_EQ(calls, (Calls{"dialog Copy 1", "subdialog SUB\\A.DLL 100", "advance 100",
                          "subdialog B.DLL 50", "advance 50"}))
      << Lines(calls);
  EXPECT_TRUE(ReadText(nested + "\\SUB\\A.DLL") == a);
  EXPECT_TRUE(ReadText(nested + "\\B.DLL") == b);
  DWORD type = 0;
  EXPECT_EQ(StoredPriority(nested + "\\SUB\\A.DLL", &type), 2u);
  EXPECT_FALSE(HasPendingFileRenames());  // written now, not at a restart
}

TEST_F(CopyFileCommandTest, DestinationGetsTheAttributesAndTimesOfItsCreation) {
  const std::string source = Source("HIDDEN.DLL"), destination = Destination("HIDDEN.DLL");
  dir_.Write("source\\HIDDEN.DLL", "hidden");
  const FILETIME long_ago = {0xC89DC000, 0x01C07385};  // 2001-01-01 00:00 UTC
  {
    HANDLE file = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, &long_ago, &long_ago, &long_ago));
    CloseHandle(file);
  }
  ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  Calls calls = Run(Line("HIDDEN.DLL", "HR", 0));
  EXPECT_EQ(calls, (Calls{"dialog Copy 1", "subdialog HIDDEN.DLL 6", "advance 6"})) << Lines(calls);
  EXPECT_EQ(ReadText(destination), "hidden");
  EXPECT_EQ(GetFileAttributesA(destination.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  WIN32_FILE_ATTRIBUTE_DATA copied = {};
  ASSERT_TRUE(GetFileAttributesExA(destination.c_str(), GetFileExInfoStandard, &copied));
  EXPECT_GT(CompareFileTime(&copied.ftLastWriteTime, &long_ago), 0);
  SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);  // lets the folder go
}

TEST_F(CopyFileCommandTest, StoreThatCannotBeWrittenFailsTheLineAfterTheCopy) {
  dir_.Write("source\\LOCKED.DLL", "locked store");
  DenyKeyAccess(HKEY_LOCAL_MACHINE, kPrioritiesKey, true);
  Calls calls = Run(Line("LOCKED.DLL", "N", 9));
  DenyKeyAccess(HKEY_LOCAL_MACHINE, kPrioritiesKey, false);
  // The unreadable store allowed the copy; recording the priority failed.
  EXPECT_EQ(calls, (Calls{"dialog Copy 1", "subdialog LOCKED.DLL 12", "advance 12",
                          Log("CopyFile: section [Copy] line #2, " +
                              SystemText(ERROR_ACCESS_DENIED))}))
      << Lines(calls);
  EXPECT_EQ(ReadText(Destination("LOCKED.DLL")), "locked store");
  DWORD type = 0;
  StoredPriority(Destination("LOCKED.DLL"), &type);
  EXPECT_EQ(type, 0u);
  EXPECT_FALSE(HasPendingFileRenames());
}

}  // namespace
}  // namespace qxi
