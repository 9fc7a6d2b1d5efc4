// The four registry condition tests. Each takes the parameters of its line (the condition
// name first, then root, key and the test's own values) and never raises for a registry
// failure: the result is then false.
#pragma once

#include "engine/params.h"

namespace qxi {

/// True when the key opens.
bool RegKeyExistsTest(const ParamList& params);
/// True when the key opens and the value's type is not 0.
bool RegValueExistsTest(const ParamList& params);
/// True when the value reads as a number of at most 4 bytes equal to Data.
bool RegValueDwTest(const ParamList& params);
/// True when the value is a REG_SZ equal to Data ignoring ASCII case, over the whole length.
bool RegValueStrTest(const ParamList& params);

}  // namespace qxi
