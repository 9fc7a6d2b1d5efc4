// The path utilities against the real file system under Wine.
#include "files/path_utils.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/qx_err.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::TempDir;

TEST(PathText, JoinAndDirectoryOf) {
  EXPECT_EQ(JoinPath("C:\\DIR", "A.TXT"), "C:\\DIR\\A.TXT");
  EXPECT_EQ(JoinPath("C:\\DIR\\", "A.TXT"), "C:\\DIR\\A.TXT");
  EXPECT_EQ(JoinPath("", "A.TXT"), "\\A.TXT");
  EXPECT_EQ(DirectoryOf("C:\\A\\B.TXT"), "C:\\A");
  EXPECT_EQ(DirectoryOf("B.TXT"), "B.TXT");
  EXPECT_EQ(DirectoryOf("C:\\A\\"), "C:\\A");
}

TEST(PathUtils, MakeDirectoryChainCreatesEveryLevel) {
  TempDir dir;
  std::string deepest = dir.path() + "\\A\\B\\C";
  EXPECT_TRUE(MakeDirectoryChain(deepest, FILE_ATTRIBUTE_NORMAL));
  for (const char* level : {"\\A", "\\A\\B", "\\A\\B\\C"}) {
    DWORD attributes = GetFileAttributesA((dir.path() + level).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << level;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << level;
  }
  EXPECT_TRUE(MakeDirectoryChain(deepest, FILE_ATTRIBUTE_NORMAL));  // again: no error
  EXPECT_TRUE(MakeDirectoryChain(deepest, FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(GetFileAttributesA(deepest.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(GetFileAttributesA((dir.path() + "\\A\\B").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  // A chain through an existing file cannot be made: false, nothing raised.
  std::string file = dir.Write("F", "x");
  EXPECT_FALSE(MakeDirectoryChain(file + "\\sub", FILE_ATTRIBUTE_NORMAL));
}

TEST(PathUtils, PathExistsCountsMissingFilesAndFoldersAsMissing) {
  TempDir dir;
  const std::string here = dir.Write("here.txt", "");
  EXPECT_TRUE(PathExists(here));
  EXPECT_TRUE(PathExists(dir.path()));
  EXPECT_FALSE(PathExists(dir.path() + "\\missing.txt"));              // error 2
  EXPECT_FALSE(PathExists(dir.path() + "\\no_such_dir\\file.txt"));    // error 3
  EXPECT_FALSE(PathExists(dir.path() + "\\no\\such\\dirs\\file.txt"));
  EXPECT_FALSE(PathExists(here + "\\inside_a_file.txt"));
}

TEST(PathUtils, MakeTempFileNameGivesAFreeNameInTheTemporaryDirectory) {
  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  std::string name = MakeTempFileName();
  ASSERT_GT(name.size(), std::string(temp).size());
  EXPECT_EQ(name.substr(0, std::string(temp).size()), temp);
  std::string file = name.substr(name.rfind('\\') + 1);
  EXPECT_EQ(file.substr(0, 3), "QXI");
  EXPECT_EQ(file.substr(file.size() - 4), ".tmp") << file;
  EXPECT_EQ(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(MakeTempFileName(), "");
}

}  // namespace
}  // namespace qxi
