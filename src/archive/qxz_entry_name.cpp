#include "archive/qxz_entry_name.h"

namespace qxi {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A part that Windows would reduce to "", "." or "..": only dots and blanks.
bool IsDotsOnly(const std::string& name, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    if (name[i] != '.' && name[i] != ' ') return false;
  }
  return true;
}

}  // namespace

bool IsSafeEntryName(const std::string& name) {
  if (name.find(':') != std::string::npos) return false;
  size_t begin = 0;
  for (;;) {
    size_t end = begin;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    // An empty part covers the empty name, leading, doubled and trailing separators.
    if (end == begin || IsDotsOnly(name, begin, end)) return false;
    if (end == name.size()) return true;
    begin = end + 1;
  }
}

}  // namespace qxi
