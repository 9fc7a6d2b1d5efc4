// SectionIndex: reads a script's header lines incrementally, keeping the first body found
// under each name.
#include "engine/section_index.h"

#include "engine/script_cursor.h"

namespace qxi {
namespace {

const char* SkipSpaces(const char* p, const char* end) {
  while (p < end && *p == ' ') ++p;
  return p;
}

// From inside a line: past its end and the whole line-break run after it.
const char* NextNonEmptyLine(const char* p, const char* end) {
  while (p < end && !IsLineBreak(*p)) ++p;
  while (p < end && IsLineBreak(*p)) ++p;
  return p;
}

}  // namespace

SectionIndex::SectionIndex(const char* begin, const char* end)
    : start_(SkipSpaces(begin, end)), end_(end), scan_(start_) {}

std::string_view SectionIndex::ScanLine() {
  const char* p = scan_;
  std::string_view name;
  if (*p == '[') {
    const char* q = p + 1;
    while (q < end_ && *q != ']' && !IsLineBreak(*q)) ++q;
    if (q == end_) {
      // A header cut off by the end of the text is no header, and nothing follows it.
      scan_ = end_;
      return name;
    }
    name = std::string_view(p + 1, static_cast<size_t>(q - p - 1));
    // Only the first header of a name is kept: later duplicates are never reached.
    headers_.emplace(name, NextNonEmptyLine(q, end_));
  }
  scan_ = SkipSpaces(NextNonEmptyLine(p, end_), end_);
  return name;
}

const char* SectionIndex::Find(std::string_view name) {
  const auto known = headers_.find(name);
  if (known != headers_.end()) return known->second;
  while (scan_ < end_) {
    const std::string_view header = ScanLine();
    if (header.data() != nullptr && NamesEqual(header, name)) return headers_.find(name)->second;
  }
  return nullptr;
}

}  // namespace qxi
