// The PendingFileRenameOperations value's pairs, read from its characters and written back.
#include "files/pending_file_renames.h"

#include <gtest/gtest.h>

#include <string>

namespace qxi {
namespace {

using namespace std::string_literals;

std::wstring Joined(const std::vector<PendingFileRename>& renames) {
  const std::vector<wchar_t> data = JoinPendingFileRenames(renames);
  return std::wstring(data.begin(), data.end());
}

TEST(PendingFileRenames, PairsAreReadUpToTheClosingNulAndJoinedBackUnchanged) {
  const std::wstring data =
      L"\\??\\C:\\a.new\0!\\??\\C:\\a.dll\0\\??\\C:\\old.tmp\0\0\\??\\C:\\b.new\0\\??\\C:\\b.dll\0\0"s;
  const std::vector<PendingFileRename> renames = ParsePendingFileRenames(data);
  ASSERT_EQ(renames.size(), 3u);
  EXPECT_EQ(renames[0].source, "\\??\\C:\\a.new");
  EXPECT_EQ(renames[0].destination, "!\\??\\C:\\a.dll");
  EXPECT_EQ(renames[1].source, "\\??\\C:\\old.tmp");
  EXPECT_EQ(renames[1].destination, "");  // a deletion
  EXPECT_EQ(Joined(renames), data);
  EXPECT_EQ(PathOfRecordedName(renames[0].destination), "C:\\a.dll");
  EXPECT_EQ(PathOfRecordedName(renames[2].destination), "C:\\b.dll");
  EXPECT_EQ(PathOfRecordedName("C:\\plain.dll"), "C:\\plain.dll");
  EXPECT_EQ(Joined({}), L"\0"s);
}

TEST(PendingFileRenames, DataCutShortKeepsOnlyWholePairs) {
  // Without its closing NULs the last destination still counts, a source alone does not.
  auto cut = ParsePendingFileRenames(L"\\??\\C:\\a.new\0!\\??\\C:\\a.dll"s);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].destination, "!\\??\\C:\\a.dll");
  EXPECT_EQ(ParsePendingFileRenames(L"\\??\\C:\\a.new\0!\\??\\C:\\a.dll\0\\??\\C:\\b.new\0"s).size(),
            1u);
  auto deletion = ParsePendingFileRenames(L"\\??\\C:\\x.tmp\0\0"s);  // no closing NUL
  ASSERT_EQ(deletion.size(), 1u);
  EXPECT_EQ(deletion[0].destination, "");
  EXPECT_TRUE(ParsePendingFileRenames(L""s).empty());
  EXPECT_TRUE(ParsePendingFileRenames(L"\0\\??\\C:\\x\0\\??\\C:\\y\0\0"s).empty());  // ends at once
}

}  // namespace
}  // namespace qxi
