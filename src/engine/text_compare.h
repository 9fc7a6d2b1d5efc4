// The one comparison of names the engine uses for sections, groups, commands, enum options,
// conditions and folder macros: equal length, ASCII letters equal ignoring case, other bytes
// equal exactly.
#pragma once

#include <string_view>

namespace qxi {

/// Lower-cases A-Z; every other byte is returned unchanged.
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

/// True when both names have the same length and are equal ignoring ASCII case.
bool NamesEqual(std::string_view a, std::string_view b);

/// Strict order consistent with NamesEqual: bytes compared after ASCII lower-casing (as
/// unsigned), a shorter name that is a prefix of a longer one first.
bool NameLess(std::string_view a, std::string_view b);

/// NameLess as an ordering for std::map, usable with any text type.
struct NameLessOp {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return NameLess(a, b); }
};

}  // namespace qxi
