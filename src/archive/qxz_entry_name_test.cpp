// Entry names: which relative paths extraction accepts.
#include "archive/qxz_entry_name.h"

#include <gtest/gtest.h>

namespace qxi {
namespace {

TEST(QxzEntryName, AcceptsRelativePathsInsideTheDestination) {
  for (const char* name : {"A.TXT", "SUB\\A.TXT", "a\\b\\c\\d.bin", "..a", "a..", "x.\\y",
                           ".profile", "dir/file", "name with blanks", "CONFIG.SYS", "COM10",
                           "LPT0.TXT", "NULL", "AUXILIARY\\PRNX"}) {
    EXPECT_TRUE(IsSafeEntryName(name)) << name;
  }
}

TEST(QxzEntryName, RefusesNamesThatLeaveTheDestinationOrNameNoFile) {
  for (const char* name :
       {"", "\\A.TXT", "/A.TXT", "\\\\server\\share\\A", "C:\\A.TXT", "C:A.TXT", "A.TXT:stream",
        "..\\A.TXT", "SUB\\..\\..\\A.TXT", "SUB/../A", "..", ".", "SUB\\.", "...\\A", ". \\A",
        ".. \\A", "SUB\\", "SUB\\\\A", "\\\\?\\C:\\A"}) {
    EXPECT_FALSE(IsSafeEntryName(name)) << name;
  }
  // Devices answer to these names in every directory and with any extension.
  for (const char* name : {"CON", "con", "SUB\\PRN", "AUX.TXT", "nul.dat", "SUB\\COM1\\A",
                           "COM9.LOG", "LPT1", "lpt9.prn", "CON .TXT", "SUB/Nul"}) {
    EXPECT_FALSE(IsSafeEntryName(name)) << name;
  }
}

}  // namespace
}  // namespace qxi
