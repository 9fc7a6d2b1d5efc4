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

// Reads the line at `p` (past its blanks): a header line fills `header`. Returns where the
// next line begins, past its blanks: `end` after a header cut off by the end of the text (no
// header, and nothing follows it).
const char* ReadLine(const char* p, const char* end, SectionIndex::Header& header,
                     bool& is_header) {
  is_header = false;
  if (*p == '[') {
    const char* q = p + 1;
    while (q < end && *q != ']' && !IsLineBreak(*q)) ++q;
    if (q == end) return end;
    header = {std::string_view(p + 1, static_cast<size_t>(q - p - 1)), p,
              NextNonEmptyLine(q, end)};
    is_header = true;
    return SkipSpaces(header.body, end);
  }
  return SkipSpaces(NextNonEmptyLine(p, end), end);
}

}  // namespace

SectionIndex::SectionIndex(const char* begin, const char* end)
    : start_(SkipSpaces(begin, end)), end_(end), scan_(start_) {}

std::string_view SectionIndex::ScanLine() {
  Header header;
  bool is_header = false;
  const char* next = ReadLine(scan_, end_, header, is_header);
  // Only the first header of a name is kept: later duplicates are never reached. The line
  // counts as read once it is kept (an allocation failure leaves the index as it was).
  if (is_header) headers_.emplace(header.name, header.body);
  scan_ = next;
  return is_header ? header.name : std::string_view();
}

std::vector<SectionIndex::Header> SectionIndex::All() const {
  std::vector<Header> headers;
  Header header;
  bool is_header = false;
  for (const char* p = start_; p < end_;) {
    p = ReadLine(p, end_, header, is_header);
    if (is_header) headers.push_back(header);
  }
  return headers;
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
