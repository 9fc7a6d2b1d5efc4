// The four registry tests of the Conditions section. Each line names its condition first,
// then root, key and the test's own values; a test never raises for a registry failure: its
// result is then false.
#pragma once

#include "engine/command_row.h"

namespace qxi {

namespace reg_test_line {
inline constexpr RootKeyAt kRoot{1};
inline constexpr PathAt kKey{2};
inline constexpr PathAt kValue{3};
inline constexpr IntegerAt kDword{4};
inline constexpr PathAt kString{4};
}  // namespace reg_test_line

/// "RegKeyExists": true when the key opens.
bool RegKeyExistsTest(const ParamList& params);
/// "RegValueExists": true when the key opens and the value's type is not 0.
bool RegValueExistsTest(const ParamList& params);
/// "RegValueDw": true when the value reads as a number of at most 4 bytes equal to kDword.
bool RegValueDwTest(const ParamList& params);
/// "RegValueStr": true when the value is a REG_SZ equal to kString ignoring ASCII case, over
/// the whole length.
bool RegValueStrTest(const ParamList& params);

inline constexpr ConditionRow kRegistryConditions[] = {
    {"RegKeyExists",
     {kConditionName("Condition name"), reg_test_line::kRoot("Root key"),
      reg_test_line::kKey("Key")},
     QXI_ACTION(RegKeyExistsTest)},
    {"RegValueExists",
     {kConditionName("Condition name"), reg_test_line::kRoot("Root key"),
      reg_test_line::kKey("Key"), reg_test_line::kValue("Value")},
     QXI_ACTION(RegValueExistsTest)},
    {"RegValueDw",
     {kConditionName("Condition name"), reg_test_line::kRoot("Root key"),
      reg_test_line::kKey("Key"), reg_test_line::kValue("Value"), reg_test_line::kDword("Data")},
     QXI_ACTION(RegValueDwTest)},
    {"RegValueStr",
     {kConditionName("Condition name"), reg_test_line::kRoot("Root key"),
      reg_test_line::kKey("Key"), reg_test_line::kValue("Value"),
      reg_test_line::kString("Data")},
     QXI_ACTION(RegValueStrTest)},
};

}  // namespace qxi
