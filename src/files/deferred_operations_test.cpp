// Deferred replacement and deletion on the real WININIT.INI of this test's own prefix, and
// a simulated restart (wineboot -r) that carries the recorded operations out.
#include "files/deferred_operations.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "support/ini_text.h"
#include "support/restart.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::FileHolder;
using qxi_test::FileLines;
using qxi_test::InWindows;
using qxi_test::LinesOfSize;
using qxi_test::ReadText;
using qxi_test::RunProgram;
using qxi_test::SectionText;
using qxi_test::TempDir;
using Texts = std::vector<std::string>;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class Deferred : public ::testing::Test {
 protected:
  // This prefix is the test's own: its restart file starts empty in every test.
  void SetUp() override {
    DeleteFileA(wininit_.c_str());
    DeleteFileA(InWindows("wininit.bak").c_str());
  }
  void TearDown() override { DeleteFileA(wininit_.c_str()); }

  std::string In(const char* name) const { return dir_.path() + "\\" + name; }

  TempDir dir_;
  const std::string wininit_ = InWindows("WININIT.INI");
};

TEST_F(Deferred, ReplaceKeepsOneLinePerDestinationWithTheLastSource) {
  std::string long_source = In("") + std::string(300, 's') + ".tmp";
  ScheduleReplace(In("a.dll"), In("first.tmp"));
  ScheduleReplace(In("b.dll"), In("b.tmp"));
  ScheduleReplace(Upper(In("a.dll")), In("second.tmp"));  // the same file, other case
  ScheduleReplace(In("c.dll"), long_source);
  EXPECT_EQ(FileLines(wininit_),
            Texts({"[Rename]", In("a.dll") + "=" + In("second.tmp"),
                   In("b.dll") + "=" + In("b.tmp"), In("c.dll") + "=" + long_source}));
  EXPECT_EQ(PendingSource(In("A.DLL")), In("second.tmp"));
  EXPECT_EQ(PendingSource(In("c.dll")), long_source);  // whole beyond 255 characters
  EXPECT_EQ(PendingSource(In("d.dll")), "");
}

TEST_F(Deferred, DeleteAddsOneLinePerFileAndKeepsOtherProgramsLines) {
  WriteText(wininit_, SectionText("rename", {"C:\\other\\a.dll=C:\\other\\a.new",
                                             "NUL=C:\\other\\old.tmp"}));
  ScheduleDelete(In("x.tmp"));
  ScheduleDelete(Upper(In("x.tmp")));  // equal ignoring case: no second line
  ScheduleDelete(In("y.tmp"));
  EXPECT_EQ(FileLines(wininit_),
            Texts({"[rename]", "C:\\other\\a.dll=C:\\other\\a.new", "NUL=C:\\other\\old.tmp",
                   "NUL=" + In("x.tmp"), "NUL=" + In("y.tmp")}));
  EXPECT_EQ(PendingSource("C:\\other\\a.dll"), "C:\\other\\a.new");
}

TEST_F(Deferred, RelativeNamesAreRecordedAsFullPaths) {
  // The restart has another current directory: relative names would name other files then.
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.path().c_str()));
  ScheduleReplace("sub\\a.dll", ".\\a.new");
  ScheduleDelete("old.tmp");
  EXPECT_EQ(FileLines(wininit_), Texts({"[Rename]", In("sub\\a.dll") + "=" + In("a.new"),
                                        "NUL=" + In("old.tmp")}));
  EXPECT_EQ(PendingSource("sub\\a.dll"), In("a.new"));
  SetCurrentDirectoryA(InWindows("").c_str());  // let the folder go before it is removed
}

TEST_F(Deferred, DeleteKeepsARenameSectionBeyond32000Bytes) {
  Texts lines = LinesOfSize(40000);
  WriteText(wininit_, SectionText("Rename", lines));
  ScheduleDelete(In("z.tmp"));
  lines.insert(lines.begin(), "[Rename]");
  lines.push_back("NUL=" + In("z.tmp"));
  EXPECT_EQ(FileLines(wininit_), lines);
}

TEST_F(Deferred, RestartReplacesAndDeletesFilesThatWereInUse) {
  const std::string in_use = In("in_use.dll"), update = In("in_use.new");
  const std::string stale = In("stale.dll"), other = In("untouched.dll");
  WriteText(in_use, "old contents");
  WriteText(update, "new contents");
  WriteText(stale, "stale contents");
  WriteText(other, "other contents");
  {
    FileHolder holder({in_use, stale});
    ASSERT_TRUE(holder.holding());
    // Held with share mode 0: neither replaceable nor deletable now.
    EXPECT_FALSE(MoveFileExA(update.c_str(), in_use.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(DeleteFileA(stale.c_str()));
    ScheduleReplace(in_use, update);
    ScheduleDelete(stale);
    EXPECT_EQ(FileLines(wininit_),
              Texts({"[Rename]", in_use + "=" + update, "NUL=" + stale}));
    EXPECT_EQ(holder.Release(), 0u);
  }
  EXPECT_EQ(ReadText(in_use), "old contents");  // nothing happens before the restart
  EXPECT_EQ(RunProgram("wineboot.exe -r"), 0u);
  EXPECT_EQ(ReadText(in_use), "new contents");
  EXPECT_FALSE(Exists(update));
  EXPECT_FALSE(Exists(stale));
  EXPECT_EQ(ReadText(other), "other contents");
  EXPECT_FALSE(Exists(wininit_));  // carried out once: the file is set aside
  EXPECT_TRUE(Exists(InWindows("wininit.bak")));
}

}  // namespace
}  // namespace qxi
