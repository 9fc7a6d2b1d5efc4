// The expansion of folder macros as text, and the two helpers that make the system's answers
// into folder texts. Runs on every platform; the folders themselves come from the build's
// resolver.
#include "engine/folder_macros.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/qx_err.h"

namespace qxi {
namespace {

int32_t ErrorOf(const std::string& text) {
  try {
    ExpandFolderMacros(text);
  } catch (const QXErr& e) {
    return e.code();
  }
  return 0;
}

TEST(FolderMacroText, EscapesNamesAndErrors) {
  const std::string windir = ResolveFolder(kWinDir);
  const std::string sysdir = ResolveFolder(kSysDir);
  EXPECT_EQ(ExpandFolderMacros("Cost: $$5"), "Cost: $5");
  EXPECT_EQ(ExpandFolderMacros("$WINDIR$\\win.ini"), windir + "\\win.ini");
  EXPECT_EQ(ExpandFolderMacros("$windir$\\win.ini"), windir + "\\win.ini");
  EXPECT_EQ(ExpandFolderMacros("$WINDIR$$SYSDIR$"), windir + sysdir);
  EXPECT_EQ(ExpandFolderMacros("$$$WINDIR$"), "$" + windir);
  EXPECT_EQ(ExpandFolderMacros("$TEMP$\\setup.log"), ResolveFolder(kTemp) + "\\setup.log");
  EXPECT_EQ(ExpandFolderMacros("$$WINDIR$$"), "$WINDIR$");  // escapes only: no macro
  EXPECT_EQ(ExpandFolderMacros("plain text"), "plain text");
  EXPECT_EQ(ExpandFolderMacros(""), "");
  for (const char* bad : {"$$WINDIR$", "$WINDIR", "abc$", "$NOSUCH$", "$WIN$", "$WINDIRX$",
                          "$", "$$$"}) {
    EXPECT_EQ(ErrorOf(bad), kSyntaxError) << bad;
  }
  // Every name of the list, in any case, is a macro.
  for (const char* name : kFolderMacroList) {
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
    EXPECT_EQ(ErrorOf(std::string("$") + lower + "$"), 0) << name;
  }
}

TEST(FolderMacroText, DirectoryQueryCutsDriveRootsAndRefusesFailures) {
  char buffer[260] = "C:\\WINDOWS";
  EXPECT_EQ(DirectoryQueryText(10, buffer, sizeof buffer), "C:\\WINDOWS");
  std::strcpy(buffer, "C:\\");
  EXPECT_EQ(DirectoryQueryText(3, buffer, sizeof buffer), "C:");
  std::strcpy(buffer, "C:\\TEMP\\");
  EXPECT_EQ(DirectoryQueryText(8, buffer, sizeof buffer), "C:\\TEMP\\");
  // A failed query or a path longer than the buffer: the empty text.
  EXPECT_EQ(DirectoryQueryText(0, buffer, sizeof buffer), "");
  EXPECT_EQ(DirectoryQueryText(300, buffer, sizeof buffer), "");
  EXPECT_EQ(DirectoryQueryText(260, buffer, sizeof buffer), "");
}

TEST(FolderMacroText, FolderOfScriptKeepsNoTrailingBackslash) {
  EXPECT_EQ(FolderOfScript("C:\\Setup\\disk1\\setup.qxs"), "C:\\Setup\\disk1");
  EXPECT_EQ(FolderOfScript("C:\\setup.qxs"), "C:");
  EXPECT_EQ(FolderOfScript("\\\\server\\share\\setup.qxs"), "\\\\server\\share");
  EXPECT_EQ(FolderOfScript("setup.qxs"), "");
}

bool IsFOrG(const char* root) { return root[0] == 'F' || root[0] == 'G'; }

TEST(FolderMacroText, FirstCdromDriveStaysInsideTheList) {
  const char list[] = "A:\\\0C:\\\0F:\\\0G:\\\0";
  EXPECT_EQ(FirstCdromDrive(list, sizeof list - 1, IsFOrG), "F:");
  EXPECT_EQ(FirstCdromDrive(list, 8, IsFOrG), "D:");  // only A: and C: are in the list
  EXPECT_EQ(FirstCdromDrive(list, 0, IsFOrG), "D:");
  // A root cut off by the list's length is not looked at.
  const char cut[] = {'A', ':', '\\', '\0', 'F', ':'};
  EXPECT_EQ(FirstCdromDrive(cut, sizeof cut, IsFOrG), "D:");
}

}  // namespace
}  // namespace qxi
