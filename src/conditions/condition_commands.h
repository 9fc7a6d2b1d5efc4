// The seven tests of the Conditions section, commands of their own kind: each line names its
// condition first, then the file or the registry key and the test's own values. The registry
// tests never raise for a registry failure: their result is then false.
#pragma once

#include "engine/command_row.h"

namespace qxi {
namespace condition_commands {

// After the condition name: the file, then the size or the line.
inline constexpr PathAt kFile{1};
inline constexpr IntegerAt kSize{2};
inline constexpr PathAt kLine{2};
// After the condition name: root, key, value, then the data.
inline constexpr RootKeyAt kRoot{1};
inline constexpr PathAt kKey{2};
inline constexpr PathAt kValue{3};
inline constexpr IntegerAt kDword{4};
inline constexpr PathAt kString{4};

/// "FileExists": true when PathExists(kFile).
bool FileExistsTest(const ParamList& params);
/// "FileSize": true when the file exists and its 32-bit size equals kSize. A file that exists
/// but cannot be opened raises File::Except.
bool FileSizeTest(const ParamList& params);
/// "FileLine": true when some line of the file, after its leading blanks, begins with kLine
/// (ignoring ASCII case); false when the file cannot be opened or mapped (missing or empty).
bool FileLineTest(const ParamList& params);
/// "RegKeyExists": true when the key opens.
bool RegKeyExistsTest(const ParamList& params);
/// "RegValueExists": true when the key opens and the value's type is not 0.
bool RegValueExistsTest(const ParamList& params);
/// "RegValueDw": true when the value reads as a number of at most 4 bytes equal to kDword.
bool RegValueDwTest(const ParamList& params);
/// "RegValueStr": true when the value is a REG_SZ equal to kString ignoring ASCII case, over
/// the whole length.
bool RegValueStrTest(const ParamList& params);

inline constexpr ConditionRow kRows[] = {
    {"FileExists", {kConditionName("Condition name"), kFile("File")}, QXI_ACTION(FileExistsTest)},
    {"FileSize", {kConditionName("Condition name"), kFile("File"), kSize("Size")},
     QXI_ACTION(FileSizeTest)},
    {"FileLine", {kConditionName("Condition name"), kFile("File"), kLine("Line")},
     QXI_ACTION(FileLineTest)},
    {"RegKeyExists", {kConditionName("Condition name"), kRoot("Root key"), kKey("Key")},
     QXI_ACTION(RegKeyExistsTest)},
    {"RegValueExists",
     {kConditionName("Condition name"), kRoot("Root key"), kKey("Key"), kValue("Value")},
     QXI_ACTION(RegValueExistsTest)},
    {"RegValueDw",
     {kConditionName("Condition name"), kRoot("Root key"), kKey("Key"), kValue("Value"),
      kDword("Data")},
     QXI_ACTION(RegValueDwTest)},
    {"RegValueStr",
     {kConditionName("Condition name"), kRoot("Root key"), kKey("Key"), kValue("Value"),
      kString("Data")},
     QXI_ACTION(RegValueStrTest)},
};

}  // namespace condition_commands
}  // namespace qxi
