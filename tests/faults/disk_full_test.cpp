// CopyFile and ExtractQXZ onto a volume that fills up during the write: the restart could not
// complete the file either (it renames a staged copy within the volume, which has no room for
// one), so both report the failure and leave no short file. The volume is a small file system
// that disk_full_test.sh mounts and hands over in QXI_SMALL_VOLUME (its Windows path); without
// it these tests are skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "archive/qxz_writer.h"
#include "engine/qx_err.h"
#include "faults/fault_support.h"
#include "support/disk_files.h"
#include "support/helper_processes.h"
#include "support/restart_records.h"
#include "support/script_runner.h"

namespace {

using qxi_test::EngineTemporaryFiles;
using qxi_test::Exists;
using qxi_test::Lines;
using qxi_test::Noise;
using qxi_test::ReadText;
using qxi_test::TempDir;
using Texts = std::vector<std::string>;

// Larger than the whole volume (256 KiB), so that no write of it can succeed in full.
constexpr size_t kBigSize = 600000;
// A file that fills most of the volume, and an entry too large for the rest but small
// enough for the whole volume.
constexpr size_t kFillerSize = 160 * 1024;
constexpr size_t kEntrySize = 200 * 1024;

class DiskFull : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* volume = std::getenv("QXI_SMALL_VOLUME");
    if (volume == nullptr || *volume == '\0') GTEST_SKIP() << "no small volume given";
    volume_ = volume;
    qxi_test::ClearRestartRecords();
    qxi_test::RemoveEngineTemporaryFiles();
  }
  void TearDown() override {
    qxi_test::ClearRestartRecords();
    qxi_test::RemoveEngineTemporaryFiles();
  }

  Texts Run(const std::string& lines) {
    return qxi_test::RunText(dir_, "[Main]\nFileCopy Files\n[Files]\nFilling 1\n" + lines, "Main",
                             &script_);
  }

  // The report of `command` on line #2 of [Files]: the run-time error of a full volume.
  std::string Failure(const char* command) const {
    return "log " + script_ + " | " + command + ": section [Files] line #2, " +
           qxi::QXErr(qxi::kRunTimeError, ERROR_DISK_FULL).what();
  }

  TempDir dir_;
  std::string volume_, script_;
  const std::string big_ = Noise(kBigSize, 9);
};

// The copy runs out of room part-way. The restart could only rename a staged copy on the same
// volume, which has no room for one either: the line is reported with the system's error,
// the short file goes, and nothing waits for the restart.
TEST_F(DiskFull, CopyThatRunsOutOfRoomIsReported) {
  dir_.Write("BIG.DAT", big_);
  const std::string folder = volume_ + "\\copy", destination = folder + "\\BIG.DAT";
  const Texts calls = Run("CopyFile \"" + dir_.path() + "\" \"" + folder + "\" BIG.DAT N 0\n");
  ASSERT_GE(calls.size(), 3u) << Lines(calls);
  EXPECT_EQ(calls[0], "dialog Filling 1");
  EXPECT_EQ(calls[1], "subdialog BIG.DAT " + std::to_string(kBigSize));
  EXPECT_EQ(calls.back(), Failure("CopyFile")) << Lines(calls);
  long long written = 0;
  for (size_t i = 2; i + 1 < calls.size(); ++i) {
    ASSERT_EQ(calls[i], "advance 4096") << Lines(calls);  // whole blocks before the failure
    written += 4096;
  }
  EXPECT_LT(written, static_cast<long long>(kBigSize));
  EXPECT_FALSE(Exists(destination));  // no short file stands for the copy
  EXPECT_EQ(qxi_test::StagedCopiesIn(folder), Texts());
  EXPECT_EQ(EngineTemporaryFiles(), Texts());
  EXPECT_FALSE(qxi_test::HasPendingFileRenames());
}

// An entry that runs out of room part-way (over an earlier file, which the extraction has
// already truncated) is reported the same way, and the next line runs.
TEST_F(DiskFull, ExtractionThatRunsOutOfRoomIsReported) {
  const std::string entry = big_.substr(0, kEntrySize);
  std::vector<uint8_t> archive;
  qxi::QxzFileInfo info;
  info.name = "BIG.BIN";
  info.attributes = 0x20;
  qxi::AppendQxzFile(info, reinterpret_cast<const uint8_t*>(entry.data()), entry.size(),
                     qxi::ImplodeOptions{}, &archive);
  const std::string archive_path =
      dir_.Write("big.qxz", std::string(archive.begin(), archive.end()));
  dir_.Write("SMALL.TXT", "small");
  const std::string out = volume_ + "\\extract", destination = out + "\\BIG.BIN";
  const std::string filler = volume_ + "\\filler";
  qxi_test::WriteText(filler, std::string(kFillerSize, 'f'));
  CreateDirectoryA(out.c_str(), nullptr);
  qxi_test::WriteText(destination, "earlier file");

  const Texts calls = Run("ExtractQXZ \"" + archive_path + "\" \"" + out + "\"\n"
                          "CopyFile \"" + dir_.path() + "\" \"" + out + "\" SMALL.TXT N 0\n");
  ASSERT_GE(calls.size(), 5u) << Lines(calls);
  EXPECT_EQ(calls[1], "subdialog " + destination + " " + std::to_string(kEntrySize));
  const Texts tail(calls.end() - 3, calls.end());
  EXPECT_EQ(tail, Texts({Failure("ExtractQXZ"), "subdialog SMALL.TXT 5", "advance 5"}))
      << Lines(calls);
  // The progress went through the part written before the volume ran full.
  long long advanced = 0;
  for (size_t i = 2; i + 3 < calls.size(); ++i) {
    ASSERT_EQ(calls[i].rfind("advance ", 0), 0u) << Lines(calls);
    advanced += std::stoll(calls[i].substr(8));
  }
  EXPECT_GT(advanced, 0);
  EXPECT_LT(advanced, static_cast<long long>(kEntrySize));
  EXPECT_FALSE(Exists(destination));  // no short file stands for the entry
  EXPECT_EQ(ReadText(out + "\\SMALL.TXT"), "small");
  EXPECT_EQ(qxi_test::StagedCopiesIn(out), Texts());
  EXPECT_EQ(EngineTemporaryFiles(), Texts());
  EXPECT_FALSE(qxi_test::HasPendingFileRenames());
  ASSERT_TRUE(DeleteFileA(filler.c_str()));
}

}  // namespace
