// Deferred replacement and deletion on the 95 family: this program runs itself again as a
// program Wine tells it is Windows 98, and checks the [Rename] lines of WININIT.INI in its own
// prefix (short names only, one drive). The restart itself is carried out by the round trip
// of tests/restart.
#include "files/deferred_operations.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/disk_files.h"
#include "support/ini_text.h"
#include "support/restart_records.h"
#include "support/run_time_error.h"
#include "support/script_runner.h"
#include "support/windows98.h"

namespace qxi {
namespace {

using qxi_test::Exists;
using qxi_test::FileLines;
using qxi_test::RunTimeErrorOf;
using qxi_test::SectionText;
using qxi_test::ShortName;
using qxi_test::WininitPath;
using qxi_test::WriteText;
using Texts = std::vector<std::string>;

class Wininit : public ::testing::Test {
 protected:
  void SetUp() override {
    qxi_test::ClearRestartRecords();
    ASSERT_TRUE(qxi_test::SeesWindows95Family());
    // Folders whose names a [Rename] line could not carry: '=' and blanks.
    equals_ = dir_.path() + "\\A=B";
    blanks_ = dir_.path() + "\\with some blanks";
    ASSERT_TRUE(CreateDirectoryA(equals_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(blanks_.c_str(), nullptr));
  }
  void TearDown() override { qxi_test::ClearRestartRecords(); }

  qxi_test::TempDir dir_;
  std::string equals_, blanks_;
};

TEST_F(Wininit, LinesNameShortPathsOnlyAndOneLinePerDestination) {
  const std::string in_use = equals_ + "\\In Use.dll", first = equals_ + "\\first.tmp";
  const std::string second = equals_ + "\\Second Copy.tmp", stale = blanks_ + "\\Stale File.dll";
  for (const auto& file : {in_use, first, second, stale}) WriteText(file, "x");
  WriteText(WininitPath(), SectionText("Rename", {"C:\\OTHER\\A.DLL=C:\\OTHER\\A.NEW"}));
  ScheduleReplace(in_use, first);
  ScheduleReplace(in_use, second);  // replaces the line
  ScheduleDelete(stale);
  ScheduleDelete(ShortName(stale));  // the same file: no second line
  const std::string recorded = ShortName(in_use);
  EXPECT_EQ(FileLines(WininitPath()),
            Texts({"[Rename]", "C:\\OTHER\\A.DLL=C:\\OTHER\\A.NEW",
                   recorded + "=" + ShortName(second), "NUL=" + ShortName(stale)}));
  EXPECT_EQ(recorded.find_first_of("= "), std::string::npos) << recorded;
  EXPECT_EQ(PendingSource(in_use), ShortName(second));
  EXPECT_EQ(PendingSource(equals_ + "\\other.dll"), "");
  EXPECT_FALSE(qxi_test::HasPendingFileRenames());  // the 95 family has no such value
}

TEST_F(Wininit, NamesTheRestartCannotCarryAreRefused) {
  const std::string source = equals_ + "\\new.dll";
  WriteText(source, "x");
  // A file still to be made needs a name that is short already; the restart moves within
  // one drive (Z: is another one here).
  EXPECT_EQ(RunTimeErrorOf([&] { ScheduleReplace(blanks_ + "\\New Long Name.dll", source); }),
            uint32_t{ERROR_INVALID_NAME});
  EXPECT_EQ(RunTimeErrorOf([&] { ScheduleReplace(dir_.path() + "\\none\\X.DLL", source); }),
            uint32_t{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(RunTimeErrorOf([&] { ScheduleReplace("Z:\\tmp\\X.DLL", source); }),
            uint32_t{ERROR_NOT_SAME_DEVICE});
  EXPECT_EQ(RunTimeErrorOf([&] { ScheduleDelete(blanks_ + "\\Gone Long Name.dll"); }),
            uint32_t{ERROR_INVALID_NAME});
  EXPECT_FALSE(Exists(WininitPath()));
  ScheduleReplace(blanks_ + "\\NEW.DLL", source);  // short already: recorded as it stands
  EXPECT_EQ(FileLines(WininitPath()),
            Texts({"[Rename]", ShortName(blanks_) + "\\NEW.DLL=" + ShortName(source)}));
}

}  // namespace
}  // namespace qxi

int main(int argc, char** argv) {
  if (!qxi_test::SeesWindows95Family()) return qxi_test::RunAgainAsWindows98();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
