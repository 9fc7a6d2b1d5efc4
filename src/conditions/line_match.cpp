#include "conditions/line_match.h"

#include <cstddef>

#include "engine/text_compare.h"

namespace qxi {
namespace {

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

bool AnyLineBeginsWith(const char* begin, const char* end, std::string_view prefix) {
  const char* p = begin;
  while (p != nullptr && p < end) {
    while (p < end && *p == ' ') ++p;
    if (static_cast<size_t>(end - p) >= prefix.size() &&
        NamesEqual(std::string_view(p, prefix.size()), prefix)) {
      return true;
    }
    while (p < end && !IsBreak(*p)) ++p;
    while (p < end && IsBreak(*p)) ++p;
  }
  return false;
}

}  // namespace qxi
