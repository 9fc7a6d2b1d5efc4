// Short (8.3) names for the 95 family's restart, from the names Wine makes for long ones.
#include "files/short_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "files/file_identity.h"
#include "support/disk_files.h"
#include "support/run_time_error.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

uint32_t ErrorOfShortPath(const std::string& path) {
  return qxi_test::RunTimeErrorOf([&] { ShortPathForRestart(path); });
}

bool AllPartsShort(const std::string& path) {
  for (size_t start = 3, end; start < path.size(); start = end + 1) {
    end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (!IsShortName(path.substr(start, end - start))) return false;
  }
  return true;
}

TEST(ShortPath, ShortNamesHaveEightAndThreeCharactersAndNoSeparators) {
  for (const char* name : {"QXI1A.TMP", "lumenrt.dll", "A_B~~WJL", "12345678.123", "X", "A~1.$$$"}) {
    EXPECT_TRUE(IsShortName(name)) << name;
  }
  for (const char* name : {"", "123456789", "A.1234", "A=B", "A B", "A.B.C", ".TXT", "A.",
                           "A;B", "A+B", "A[1]", "A,B", "A\tB"}) {
    EXPECT_FALSE(IsShortName(name)) << name;
  }
}

TEST(ShortPath, LongAndUnsafeNamesGetShortFormsAndNewFilesKeepTheirOwnName) {
  qxi_test::TempDir dir;
  const std::string equals = dir.path() + "\\A=B", blanks = dir.path() + "\\with some blanks";
  ASSERT_TRUE(CreateDirectoryA(equals.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(blanks.c_str(), nullptr));
  const std::string existing = equals + "\\Long File Name.dll";
  qxi_test::WriteText(existing, "x");

  const std::string short_existing = ShortPathForRestart(existing);
  EXPECT_TRUE(AllPartsShort(short_existing)) << short_existing;
  EXPECT_TRUE(SameFileObject(short_existing, existing)) << short_existing;

  // Not there yet: the folder's short name and the file's own.
  const std::string fresh = ShortPathForRestart(blanks + "\\NEW.DLL");
  EXPECT_TRUE(AllPartsShort(fresh)) << fresh;
  EXPECT_EQ(fresh.substr(fresh.size() - 8), "\\NEW.DLL");
  EXPECT_TRUE(SameFileObject(fresh.substr(0, fresh.size() - 8), blanks)) << fresh;

  EXPECT_EQ(ErrorOfShortPath(blanks + "\\New Long Name.dll"), uint32_t{ERROR_INVALID_NAME});
  EXPECT_EQ(ErrorOfShortPath(dir.path() + "\\missing\\A.DLL"), uint32_t{ERROR_FILE_NOT_FOUND});
  EXPECT_EQ(ErrorOfShortPath("\\\\server\\share\\A.DLL"), uint32_t{ERROR_INVALID_NAME});
}

}  // namespace
}  // namespace qxi
