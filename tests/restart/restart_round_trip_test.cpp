// Files in use replaced at the restart, end to end as a user meets it: qxirun.exe with the
// real QXI.dll runs CopyFile, ExtractQXZ, DelFile, RenameFile and MoveFile over files another
// program holds open, then a simulated restart (wineboot -r) carries out what was recorded.
// Once as the NT family (Wine's default: PendingFileRenameOperations) and once with Wine
// telling qxirun.exe that it runs on Windows 98 (WININIT.INI), in a prefix of this test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/qxz_writer.h"
#include "engine/qx_err.h"
#include "support/built_program.h"
#include "support/disk_files.h"
#include "support/helper_processes.h"
#include "support/ini_text.h"
#include "support/key_access.h"
#include "support/restart_records.h"
#include "support/script_runner.h"
#include "support/windows98.h"

namespace qxi {
namespace {

using qxi_test::BuiltProgram;
using qxi_test::Exists;
using qxi_test::FileHolder;
using qxi_test::NtName;
using qxi_test::PendingFileRenameNames;
using qxi_test::ReplacingNtName;
using qxi_test::ReadText;
using qxi_test::ShortName;
using qxi_test::StagedCopiesIn;
using qxi_test::WriteText;
using Texts = std::vector<std::string>;

constexpr char kHost[] = "qxirun.exe";
constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

enum class Family { kNt, kWindows98 };

// A WININIT.INI line replacing `destination` by `source`, by their short names.
std::string ShortLine(const std::string& destination, const std::string& source) {
  return ShortName(destination) + "=" + ShortName(source);
}

class RestartRoundTrip : public ::testing::TestWithParam<Family> {
 protected:
  void SetUp() override {
    qxi_test::ClearRestartRecords();
    qxi_test::RemoveEngineTemporaryFiles();
    qxi_test::ReportWindows98To(kHost, GetParam() == Family::kWindows98);
    // Destination folders whose names a [Rename] line could not carry: '=' and blanks.
    media_ = dir_.path() + "\\media";
    equals_ = dir_.path() + "\\A=B";
    blanks_ = dir_.path() + "\\with some blanks";
    for (const auto& folder : {media_, equals_, blanks_}) {
      ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
  }
  void TearDown() override {
    qxi_test::ReportWindows98To(kHost, false);
    qxi_test::ClearRestartRecords();
  }

  // Writes an archive of `entries` (name, contents) into the media folder; returns its path.
  std::string Archive(const std::string& name, const std::vector<Texts>& entries) const {
    std::vector<uint8_t> archive;
    for (const Texts& entry : entries) {
      QxzFileInfo info;
      info.name = entry[0];
      info.attributes = FILE_ATTRIBUTE_ARCHIVE;
      AppendQxzFile(info, reinterpret_cast<const uint8_t*>(entry[1].data()), entry[1].size(),
                    ImplodeOptions{}, &archive);
    }
    const std::string path = media_ + "\\" + name;
    WriteText(path, std::string(archive.begin(), archive.end()));
    return path;
  }

  // Runs master section [Setup] of `script` with qxirun.exe.
  qxi_test::ProgramRun Run(const std::string& script) {
    script_ = dir_.Write("setup.qxs", script);
    return qxi_test::RunProgramWithOutput("\"" + BuiltProgram(kHost) + "\" \"" + script_ + "\"");
  }

  // The summary's last two lines: the operations waiting in each record.
  std::string Waiting(int registry, int wininit) const {
    return "Deferred operations waiting in PendingFileRenameOperations: " +
           std::to_string(registry) + "\nDeferred operations waiting in WININIT.INI [Rename]: " +
           std::to_string(wininit) + "\n";
  }

  qxi_test::TempDir dir_;
  std::string media_, equals_, blanks_, script_;
};

TEST_P(RestartRoundTrip, FilesInUseAreReplacedDeletedAndMovedAtTheRestart) {
  const std::string archive = Archive("payload.qxz", {{"lib.dll", "lib 2"}});
  const std::string app = equals_ + "\\app.dll", config = equals_ + "\\held.cfg";
  const std::string config_update = equals_ + "\\cfg.new";
  const std::string lib = blanks_ + "\\lib.dll", stale = blanks_ + "\\stale.dll";
  const std::string moved = blanks_ + "\\moved.dll", moved_update = blanks_ + "\\moved.new";
  WriteText(app, "app 1");
  WriteText(config, "cfg 1");
  WriteText(config_update, "cfg 2");
  WriteText(lib, "lib 1");
  WriteText(stale, "stale");
  WriteText(moved, "moved 1");
  WriteText(moved_update, "moved 2");
  FileHolder holder({app, config, lib, stale, moved});
  ASSERT_TRUE(holder.holding());
  const std::string script =
      "[Setup]\r\nFileCopy Copy\r\nFileOps Change\r\n"
      "[Copy]\r\nCopying 10\r\n"
      "CopyFile \"" + media_ + "\" \"" + equals_ + "\" app.dll \"\" 0\r\n"
      "ExtractQXZ \"" + archive + "\" \"" + blanks_ + "\"\r\n"
      "[Change]\r\nChanging 3\r\n"
      "DelFile \"" + stale + "\"\r\n"
      "RenameFile \"" + config_update + "\" \"" + config + "\"\r\n"
      "MoveFile \"" + moved_update + "\" \"" + moved + "\"\r\n";

  // Run twice while the files are held, the second time with a newer app.dll: each run leaves
  // one staged copy beside each destination, on its volume, and one operation per file; the
  // second run's copies replace the first's.
  Texts earlier_copies;
  for (const char* app_contents : {"app 2", "app 3"}) {
    SCOPED_TRACE(app_contents);
    WriteText(media_ + "\\app.dll", app_contents);
    const qxi_test::ProgramRun run = Run(script);
    EXPECT_EQ(run.status, 0u) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    // The host heard of both files as waiting, not as written.
    EXPECT_NE(run.out.find("Files written: 0\nFiles left by priority: 0\n"
                           "Files waiting for the restart: 2\n"),
              std::string::npos)
        << run.out;
    const Texts app_copies = StagedCopiesIn(equals_), lib_copies = StagedCopiesIn(blanks_);
    ASSERT_EQ(app_copies.size(), 1u);
    ASSERT_EQ(lib_copies.size(), 1u);
    EXPECT_EQ(ReadText(app_copies[0]), app_contents);
    EXPECT_EQ(ReadText(lib_copies[0]), "lib 2");
    for (const std::string& earlier : earlier_copies) EXPECT_FALSE(Exists(earlier)) << earlier;
    if (GetParam() == Family::kNt) {
      // A replacement recorded again moves to the end; the deletion, recorded already, stays.
      Texts expected = {NtName(app_copies[0]), ReplacingNtName(app),
                        NtName(lib_copies[0]), ReplacingNtName(lib),
                        NtName(config_update), ReplacingNtName(config),
                        NtName(moved_update), ReplacingNtName(moved)};
      expected.insert(expected.begin() + (earlier_copies.empty() ? 4 : 0), {NtName(stale), ""});
      EXPECT_EQ(PendingFileRenameNames(), expected);
      EXPECT_FALSE(Exists(qxi_test::WininitPath()));
      EXPECT_NE(run.out.find(Waiting(5, 0)), std::string::npos) << run.out;
    } else {
      EXPECT_EQ(qxi_test::FileLines(qxi_test::WininitPath()),
                Texts({"[Rename]", ShortLine(app, app_copies[0]), ShortLine(lib, lib_copies[0]),
                       "NUL=" + ShortName(stale), ShortLine(config, config_update),
                       ShortLine(moved, moved_update)}));
      EXPECT_FALSE(qxi_test::HasPendingFileRenames());
      EXPECT_NE(run.out.find(Waiting(0, 5)), std::string::npos) << run.out;
    }
    earlier_copies = {app_copies[0], lib_copies[0]};
  }

  EXPECT_EQ(holder.Release(), 0u);
  EXPECT_EQ(ReadText(app), "app 1");  // nothing happens before the restart
  qxi_test::Restart();
  EXPECT_EQ(ReadText(app), "app 3");
  EXPECT_EQ(ReadText(lib), "lib 2");
  EXPECT_FALSE(Exists(stale));
  EXPECT_EQ(ReadText(config), "cfg 2");
  EXPECT_FALSE(Exists(config_update));
  EXPECT_EQ(ReadText(moved), "moved 2");
  EXPECT_FALSE(Exists(moved_update));
  EXPECT_EQ(StagedCopiesIn(equals_), Texts());
  EXPECT_EQ(StagedCopiesIn(blanks_), Texts());
  EXPECT_FALSE(qxi_test::HasPendingFileRenames());
  EXPECT_FALSE(Exists(qxi_test::WininitPath()));
}

TEST_P(RestartRoundTrip, DestinationsThatCanNeverBeWrittenAreReportedNotDeferred) {
  WriteText(media_ + "\\app.dll", "app");
  WriteText(equals_ + "\\file", "a file, not a folder");
  const std::string control = Archive("control.qxz", {{"bad\x01name.dll", "x"}});
  const std::string deep = std::string(100, 'd') + "\\" + std::string(100, 'e') + "\\" +
                           std::string(100, 'f') + ".dll";
  const std::string too_long = Archive("long.qxz", {{deep, "x"}});
  const qxi_test::ProgramRun run = Run(
      "[Setup]\r\nFileCopy Copy\r\n"
      "[Copy]\r\nCopying 10\r\n"
      "ExtractQXZ \"" + control + "\" \"" + blanks_ + "\"\r\n"
      "ExtractQXZ \"" + too_long + "\" \"" + blanks_ + "\"\r\n"
      "CopyFile \"" + media_ + "\" \"" + equals_ + "\\file\\sub\" app.dll \"\" 0\r\n");
  const auto failure = [&](const char* command, int line, DWORD error) {
    return script_ + ": " + command + ": section [Copy] line #" + std::to_string(line) + ", " +
           QXErr(kRunTimeError, error).what() + "\n";
  };
  EXPECT_EQ(run.status, 1u);
  EXPECT_EQ(run.err, failure("ExtractQXZ", 2, ERROR_INVALID_NAME) +
                         failure("ExtractQXZ", 3, ERROR_FILENAME_EXCED_RANGE) +
                         failure("CopyFile", 4, ERROR_PATH_NOT_FOUND));
  EXPECT_NE(run.out.find("Errors logged: 3\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Files waiting for the restart: 0\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(Waiting(0, 0)), std::string::npos) << run.out;
  EXPECT_EQ(StagedCopiesIn(equals_), Texts());
  EXPECT_EQ(StagedCopiesIn(blanks_), Texts());
  EXPECT_EQ(qxi_test::EngineTemporaryFiles(), Texts());
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, RestartRoundTrip,
                         ::testing::Values(Family::kNt, Family::kWindows98),
                         [](const ::testing::TestParamInfo<Family>& info) {
                           return info.param == Family::kNt ? "WindowsNT" : "Windows98";
                         });

// On the NT family only administrators may record: without the right, every deferred line is
// reported, nothing waits for the restart and no staged copy is left behind.
TEST(RestartWithoutRights, LinesAreReportedAndNothingWaits) {
  qxi_test::ClearRestartRecords();
  qxi_test::TempDir dir;
  const std::string media = dir.path() + "\\media", target = dir.path() + "\\target";
  ASSERT_TRUE(CreateDirectoryA(media.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  WriteText(media + "\\app.dll", "app 2");
  const std::string app = target + "\\app.dll", stale = target + "\\stale.dll";
  WriteText(app, "app 1");
  WriteText(stale, "stale");
  FileHolder holder({app, stale});
  ASSERT_TRUE(holder.holding());
  const std::string script = dir.Write(
      "setup.qxs", "[Setup]\r\nFileCopy Copy\r\nFileOps Change\r\n[Copy]\r\nCopying 10\r\n"
                   "CopyFile \"" + media + "\" \"" + target + "\" app.dll \"\" 0\r\n"
                   "[Change]\r\nChanging 1\r\nDelFile \"" + stale + "\"\r\n");
  qxi_test::DenyKeyAccess(HKEY_LOCAL_MACHINE, kSessionManager, true);
  const qxi_test::ProgramRun run =
      qxi_test::RunProgramWithOutput("\"" + BuiltProgram(kHost) + "\" \"" + script + "\"");
  qxi_test::DenyKeyAccess(HKEY_LOCAL_MACHINE, kSessionManager, false);
  const std::string denied = QXErr(kRunTimeError, ERROR_ACCESS_DENIED).what();
  EXPECT_EQ(run.status, 1u);
  EXPECT_EQ(run.err, script + ": CopyFile: section [Copy] line #2, " + denied + "\n" + script +
                         ": DelFile: section [Change] line #2, " + denied + "\n");
  EXPECT_NE(run.out.find("Errors logged: 2\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Files waiting for the restart: 0\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Deferred operations waiting in PendingFileRenameOperations: 0\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(StagedCopiesIn(target), Texts());
  EXPECT_FALSE(qxi_test::HasPendingFileRenames());
  EXPECT_EQ(holder.Release(), 0u);
  EXPECT_EQ(ReadText(app), "app 1");
  EXPECT_EQ(ReadText(stale), "stale");
}

}  // namespace
}  // namespace qxi
