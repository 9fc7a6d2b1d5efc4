// The three file tests of the Conditions section. Each line names its condition first, then
// the file and the test's own value.
#pragma once

#include "engine/command_row.h"

namespace qxi {

namespace file_test_line {
inline constexpr PathAt kFile{1};
inline constexpr IntegerAt kSize{2};
inline constexpr PathAt kLine{2};
}  // namespace file_test_line

/// "FileExists": true when PathExists(kFile).
bool FileExistsTest(const ParamList& params);
/// "FileSize": true when the file exists and its 32-bit size equals kSize. A file that exists
/// but cannot be opened raises File::Except.
bool FileSizeTest(const ParamList& params);
/// "FileLine": true when some line of the file, after its leading blanks, begins with kLine
/// (ignoring ASCII case); false when the file cannot be opened or mapped (missing or empty).
bool FileLineTest(const ParamList& params);

inline constexpr ConditionRow kFileConditions[] = {
    {"FileExists", {kConditionName("Condition name"), file_test_line::kFile("File")},
     QXI_ACTION(FileExistsTest)},
    {"FileSize",
     {kConditionName("Condition name"), file_test_line::kFile("File"),
      file_test_line::kSize("Size")},
     QXI_ACTION(FileSizeTest)},
    {"FileLine",
     {kConditionName("Condition name"), file_test_line::kFile("File"),
      file_test_line::kLine("Line")},
     QXI_ACTION(FileLineTest)},
};

}  // namespace qxi
