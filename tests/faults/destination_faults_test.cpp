// CopyFile and ExtractQXZ against destinations that cannot be written now: held open by
// another process, read-only, in a folder that is missing or cannot exist, or taking fewer
// bytes than written. What the script is told, what stays on disk until the restart, which
// staged copies remain, what is recorded for the restart and which priorities are recorded.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/qxz_writer.h"
#include "faults/fault_support.h"
#include "engine/qx_err.h"
#include "files/file.h"
#include "support/disk_files.h"
#include "support/helper_processes.h"
#include "support/priority_store.h"
#include "support/restart_records.h"
#include "support/script_runner.h"

namespace {

using qxi_test::EngineTemporaryFiles;
using qxi_test::Exists;
using qxi_test::FileHolder;
using qxi_test::HasPendingFileRenames;
using qxi_test::Lines;
using qxi_test::Noise;
using qxi_test::ReadText;
using qxi_test::StagedCopiesIn;
using qxi_test::StoredPriority;
using qxi_test::TempDir;
using qxi_test::WriteText;
using Texts = std::vector<std::string>;

// Archive bytes holding one entry per (name, contents) pair, attributes 0x20.
std::string Archive(const std::vector<std::pair<std::string, std::string>>& files,
                    uint32_t priority = 0) {
  std::vector<uint8_t> bytes;
  for (const auto& [name, contents] : files) {
    qxi::QxzFileInfo info;
    info.name = name;
    info.attributes = 0x20;
    info.file_time = 0x01BD844B65B4C000u;
    info.priority = priority;
    qxi::AppendQxzFile(info, reinterpret_cast<const uint8_t*>(contents.data()), contents.size(),
                       qxi::ImplodeOptions{}, &bytes);
  }
  return std::string(bytes.begin(), bytes.end());
}

class DestinationFaults : public ::testing::Test {
 protected:
  // The prefix is this program's own: no restart records and no temporary files of the
  // engine are left from elsewhere.
  void SetUp() override {
    qxi_test::ClearRestartRecords();
    qxi_test::RemoveEngineTemporaryFiles();
    CreateDirectoryA(In("src").c_str(), nullptr);
    WriteText(In("src\\COPY.DLL"), copied_);
    WriteText(In("packed.qxz"), Archive({{"PACKED.DLL", packed_}}));
  }
  void TearDown() override {
    EXPECT_EQ(EngineTemporaryFiles(), Texts());  // copies are staged beside, never there
    EXPECT_FALSE(Exists(qxi_test::WininitPath()));  // the NT family never reads it
    qxi_test::ClearRestartRecords();
    qxi_test::RemoveEngineTemporaryFiles();
  }

  // Runs a CopyFile of COPY.DLL and an ExtractQXZ of PACKED.DLL into `destination`.
  Texts Install(const std::string& destination) {
    return qxi_test::RunText(dir_,
                             "[Main]\nFileCopy Files\n[Files]\nInstall 1\n"
                             "CopyFile \"" + In("src") + "\" \"" + destination + "\" COPY.DLL N 0\n"
                             "ExtractQXZ \"" + In("packed.qxz") + "\" \"" + destination + "\"\n",
                             "Main", &script_);
  }
  // The callbacks of a run of Install where nothing fails or everything is deferred alike.
  Texts Quiet(const std::string& destination) const {
    return {"dialog Install 1", "subdialog COPY.DLL 5000", "advance 4096", "advance 904",
            "subdialog " + destination + "\\PACKED.DLL 3000", "advance 3000"};
  }
  Texts Deferred(const std::string& destination) const {
    return {"dialog Install 1", "subdialog COPY.DLL 5000", "advance 5000",
            "subdialog " + destination + "\\PACKED.DLL 3000", "advance 3000"};
  }
  // The callbacks of a run of Install where both lines are reported with the run-time error
  // `error`, neither having advanced the progress.
  Texts Refused(const std::string& destination, DWORD error) const {
    const std::string failure = std::string(", ") + qxi::QXErr(qxi::kRunTimeError, error).what();
    return {"dialog Install 1", "subdialog COPY.DLL 5000",
            "log " + script_ + " | CopyFile: section [Files] line #2" + failure,
            "subdialog " + destination + "\\PACKED.DLL 3000",
            "log " + script_ + " | ExtractQXZ: section [Files] line #3" + failure};
  }
  // Checks that the operations recorded for the restart name exactly the engine's staged
  // copies beside the two destinations in `destination`, holding the new contents.
  void CheckStaged(const std::string& destination) const {
    const Texts staged = StagedCopiesIn(destination);
    ASSERT_EQ(staged.size(), 2u);
    const bool copy_first = ReadText(staged[0]) == copied_;
    const std::string copy_staged = staged[copy_first ? 0 : 1];
    const std::string packed_staged = staged[copy_first ? 1 : 0];
    EXPECT_TRUE(ReadText(copy_staged) == copied_);
    EXPECT_TRUE(ReadText(packed_staged) == packed_);
    EXPECT_EQ(qxi_test::PendingFileRenameNames(),
              Texts({qxi_test::NtName(copy_staged),
                     qxi_test::ReplacingNtName(destination + "\\COPY.DLL"),
                     qxi_test::NtName(packed_staged),
                     qxi_test::ReplacingNtName(destination + "\\PACKED.DLL")}));
  }

  std::string In(const std::string& name) const { return dir_.path() + "\\" + name; }

  TempDir dir_;
  std::string script_;
  const std::string copied_ = Noise(5000, 1), packed_ = Noise(3000, 2);
};

TEST_F(DestinationFaults, HeldOpenDestinationsKeepTheirContentsUntilTheRestart) {
  const std::string out = In("held");
  CreateDirectoryA(out.c_str(), nullptr);
  WriteText(out + "\\COPY.DLL", "old copy");
  WriteText(out + "\\PACKED.DLL", "old packed");
  {
    FileHolder holder({out + "\\COPY.DLL", out + "\\PACKED.DLL"});
    ASSERT_TRUE(holder.holding());
    const Texts calls = Install(out);
    EXPECT_EQ(calls, Deferred(out)) << Lines(calls);  // nothing is reported
    EXPECT_EQ(holder.Release(), 0u);
  }
  EXPECT_EQ(ReadText(out + "\\COPY.DLL"), "old copy");
  EXPECT_EQ(ReadText(out + "\\PACKED.DLL"), "old packed");
  CheckStaged(out);
  EXPECT_TRUE(ReadText(In("src\\COPY.DLL")) == copied_);  // the medium keeps its file

  qxi_test::Restart();
  EXPECT_TRUE(ReadText(out + "\\COPY.DLL") == copied_);
  EXPECT_TRUE(ReadText(out + "\\PACKED.DLL") == packed_);
  EXPECT_EQ(StagedCopiesIn(out), Texts());
  EXPECT_FALSE(HasPendingFileRenames());
}

// Windows refuses to open a read-only file for writing, and its restart could not replace one
// either, so there both lines are reported. Wine run as root (as the test machines run it)
// opens them for writing all the same: the test asks the system first and expects what it
// really does.
TEST_F(DestinationFaults, ReadOnlyDestinationsAreWrittenWhereTheSystemAllowsIt) {
  const std::string out = In("readonly");
  CreateDirectoryA(out.c_str(), nullptr);
  for (const char* name : {"\\COPY.DLL", "\\PACKED.DLL", "\\PROBE.TXT"}) {
    WriteText(out + name, "old");
    ASSERT_TRUE(SetFileAttributesA((out + name).c_str(), FILE_ATTRIBUTE_READONLY));
  }
  HANDLE probe = CreateFileA((out + "\\PROBE.TXT").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool writable = probe != INVALID_HANDLE_VALUE;
  if (writable) CloseHandle(probe);

  const Texts calls = Install(out);
  if (writable) {
    EXPECT_EQ(calls, Quiet(out)) << Lines(calls);
    EXPECT_TRUE(ReadText(out + "\\COPY.DLL") == copied_);
    EXPECT_TRUE(ReadText(out + "\\PACKED.DLL") == packed_);
  } else {
    EXPECT_EQ(calls, Refused(out, ERROR_ACCESS_DENIED)) << Lines(calls);
    EXPECT_EQ(ReadText(out + "\\COPY.DLL"), "old");
    EXPECT_EQ(ReadText(out + "\\PACKED.DLL"), "old");
  }
  EXPECT_EQ(StagedCopiesIn(out), Texts());
  EXPECT_FALSE(HasPendingFileRenames());
  for (const char* name : {"\\COPY.DLL", "\\PACKED.DLL", "\\PROBE.TXT"}) {
    SetFileAttributesA((out + name).c_str(), FILE_ATTRIBUTE_NORMAL);  // lets the folder go
  }
}

TEST_F(DestinationFaults, MissingFoldersAreMadeAndWrittenNow) {
  const std::string out = In("new\\deeper");
  const Texts calls = Install(out);
  EXPECT_EQ(calls, Quiet(out)) << Lines(calls);
  EXPECT_TRUE(ReadText(out + "\\COPY.DLL") == copied_);
  EXPECT_TRUE(ReadText(out + "\\PACKED.DLL") == packed_);
  EXPECT_FALSE(HasPendingFileRenames());
}

// A file where the destination folder should be: the folder cannot be made and the files can
// never be created, now or at the restart. Both lines are reported, nothing is recorded.
TEST_F(DestinationFaults, FolderThatCannotBeMadeIsReportedForBothFiles) {
  const std::string out = In("blocked");
  WriteText(out, "a file, not a folder");
  const Texts calls = Install(out);
  EXPECT_EQ(calls, Refused(out, ERROR_PATH_NOT_FOUND)) << Lines(calls);
  EXPECT_EQ(ReadText(out), "a file, not a folder");
  EXPECT_FALSE(HasPendingFileRenames());
}

// Writes half of what it is given and answers success: a write that comes out short.
BOOL WINAPI WriteHalf(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written,
                      LPOVERLAPPED overlapped) {
  return WriteFile(file, buffer, count / 2, written, overlapped);
}

// A short write is a failed write. Both commands try a staged copy for the restart, which
// comes out short as well, and so report the failure alike. No short file is taken for a
// whole one: no priority is recorded, nothing of either file is left and nothing waits for
// the restart.
TEST_F(DestinationFaults, ShortWritesAreFailuresAndRecordNoPriority) {
  const std::string out = In("short");
  WriteText(In("prioritised.qxz"), Archive({{"PACKED.DLL", packed_}}, 5));
  const qxi::WriteFileCall real = qxi::SetWriteFileCall(WriteHalf);
  const Texts calls = qxi_test::RunText(
      dir_,
      "[Main]\nFileCopy Files\n[Files]\nInstall 1\n"
      "CopyFile \"" + In("src") + "\" \"" + out + "\" COPY.DLL N 5\n"
      "ExtractQXZ \"" + In("prioritised.qxz") + "\" \"" + out + "\"\n",
      "Main", &script_);
  EXPECT_EQ(qxi::SetWriteFileCall(real), &WriteHalf);
  EXPECT_EQ(calls, Refused(out, ERROR_WRITE_FAULT)) << Lines(calls);
  DWORD type = 0;
  StoredPriority(out + "\\COPY.DLL", &type);
  EXPECT_EQ(type, 0u);
  StoredPriority(out + "\\PACKED.DLL", &type);
  EXPECT_EQ(type, 0u);
  EXPECT_FALSE(Exists(out + "\\COPY.DLL"));
  EXPECT_FALSE(Exists(out + "\\PACKED.DLL"));
  EXPECT_EQ(StagedCopiesIn(out), Texts());
  EXPECT_FALSE(HasPendingFileRenames());
}

}  // namespace
