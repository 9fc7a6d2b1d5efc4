// File against real files under Wine, in a temporary folder of the test's own.
#include "files/file.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/message_source.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::TempDir;

template <typename Body>
uint32_t CodeOf(Body body) {
  try {
    body();
  } catch (const File::Except& e) {
    return e.code();
  }
  return 0;
}

TEST(File, OpenSharingAndFailures) {
  TempDir dir;
  std::string path = dir.Write("a.txt", "abcdef");
  {
    File reader(path.c_str(), OPEN_EXISTING, GENERIC_READ);
    File second_reader(path.c_str(), OPEN_EXISTING, GENERIC_READ);  // readers share
    EXPECT_TRUE(second_reader.IsOpen());
  }
  {
    File writer(path.c_str(), OPEN_EXISTING, GENERIC_WRITE);  // writers share nothing
    EXPECT_EQ(CodeOf([&] { File(path.c_str(), OPEN_EXISTING, GENERIC_READ); }),
              static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  }
  std::string missing = dir.path() + "\\missing.txt";
  EXPECT_EQ(CodeOf([&] { File(missing.c_str(), OPEN_EXISTING, GENERIC_READ); }),
            static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST(File, ReadWriteSeekAndSize) {
  TempDir dir;
  std::string path = dir.path() + "\\out.bin";
  {
    File out(path.c_str(), CREATE_ALWAYS, GENERIC_WRITE);
    EXPECT_EQ(out.Write("0123456789", 10), 10u);
    EXPECT_EQ(out.Tell(), 10u);
    EXPECT_EQ(out.Size(), 10u);
  }
  File in(path.c_str(), OPEN_EXISTING, GENERIC_READ);
  char buffer[16] = {};
  EXPECT_EQ(in.Seek(-2, FILE_END), 8u);
  // Four bytes asked at two before the end: a short read is a corrupt file.
  EXPECT_EQ(CodeOf([&] { in.ReadExact(buffer, 4); }), 1392u);
  EXPECT_EQ(in.Read(buffer, 4), 0u);  // at the end: 0, no exception
  EXPECT_EQ(in.Seek(3, FILE_BEGIN), 3u);
  in.ReadExact(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "3456");
  EXPECT_EQ(in.Seek(1, FILE_CURRENT), 8u);
  // Writing through a handle opened for reading fails with the system's code.
  EXPECT_EQ(CodeOf([&] { in.Write("x", 1); }), static_cast<uint32_t>(ERROR_ACCESS_DENIED));
}

TEST(File, CopiesOwnDuplicatesAndCloseIsRepeatable) {
  TempDir dir;
  std::string path = dir.Write("a.txt", "abcdef");
  File copy(dir.Write("b.txt", "zz").c_str(), OPEN_EXISTING, GENERIC_READ);
  {
    File original(path.c_str(), OPEN_EXISTING, GENERIC_READ);
    copy = original;  // copy's own file is closed, then it receives a duplicate
    EXPECT_NE(copy.handle(), original.handle());
  }
  char buffer[6];
  copy.ReadExact(buffer, 6);  // still open after the original was destroyed
  EXPECT_EQ(std::string(buffer, 6), "abcdef");
  File constructed(copy);
  EXPECT_EQ(constructed.Size(), 6u);
  copy.Close();
  copy.Close();
  EXPECT_FALSE(copy.IsOpen());
  EXPECT_TRUE(constructed.IsOpen());
}

TEST(File, SetTimesLeavesAbsentTimesAlone) {
  TempDir dir;
  std::string path = dir.Write("t.txt", "x");
  FILETIME other{0x11111100u, 0x01B00000u};
  FILETIME wanted{0x12345600u, 0x01C00000u};
  WIN32_FILE_ATTRIBUTE_DATA data;
  {
    File file(path.c_str(), OPEN_EXISTING, GENERIC_READ | GENERIC_WRITE);
    file.SetTimes(nullptr, nullptr, &wanted);
    file.SetTimes(nullptr, &other, nullptr);  // the write time stays as it was set
  }
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &wanted), 0);
}

TEST(FileExcept, WhatIsTheSystemText) {
  char expected[1024];
  ASSERT_TRUE(LoadWin32ErrorText(ERROR_ACCESS_DENIED, 0x11FA, expected, sizeof expected));
  File::Except e(ERROR_ACCESS_DENIED);
  EXPECT_STREQ(e.what(), expected);
  EXPECT_STREQ(e.what(), expected);
  EXPECT_STREQ(File::Except(0x7FFFFFF0u).what(), "");
}

}  // namespace
}  // namespace qxi
