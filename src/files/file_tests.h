// The three file condition tests. Each takes the parameters of its line: the condition name
// first, then the file and the test's own values.
#pragma once

#include "engine/params.h"

namespace qxi {

/// True when PathExists(File).
bool FileExistsTest(const ParamList& params);
/// True when the file exists and its 32-bit size equals Size. A file that exists but cannot
/// be opened raises File::Except.
bool FileSizeTest(const ParamList& params);
/// True when some line of the file, after its leading blanks, begins with Line (ignoring
/// ASCII case); false when the file cannot be opened or mapped (missing or empty).
bool FileLineTest(const ParamList& params);

}  // namespace qxi
