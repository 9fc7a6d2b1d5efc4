#include "engine/text_compare.h"

namespace qxi {

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool NameLess(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

}  // namespace qxi
