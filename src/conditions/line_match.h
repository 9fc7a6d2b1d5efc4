// The line search of the FileLine test, over a mapped text that has no terminating NUL.
#pragma once

#include <string_view>

namespace qxi {

/// True when some line of [begin, end), after its leading spaces, begins with `prefix`
/// (ASCII letters compared ignoring case). Lines end at any run of CR and LF, so empty lines
/// are passed. Reads nothing at or past `end`: text cut off by the end never matches. An
/// empty prefix matches the first line of any non-empty text.
bool AnyLineBeginsWith(const char* begin, const char* end, std::string_view prefix);

}  // namespace qxi
