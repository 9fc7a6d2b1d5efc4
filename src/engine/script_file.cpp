#include "engine/script_file.h"

#include "engine/qx_err.h"
#include "engine/script_cursor.h"
#include "engine/text_compare.h"

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

ScriptFile::ScriptFile(const char* path) : map_(path) {
  if (IsOpen()) path_ = path;
}

ScriptFile::~ScriptFile() = default;

const char* ScriptFile::FindSection(std::string_view name) const {
  const char* end = text_end();
  const char* p = SkipSpaces(text_begin(), end);
  if (name.empty()) return p;
  while (p < end) {
    if (*p == '[') {
      const char* q = p + 1;
      while (q < end && *q != ']' && !IsLineBreak(*q)) ++q;
      // A header cut off by the end of the text is no header.
      if (q == end) break;
      if (NamesEqual(std::string_view(p + 1, static_cast<size_t>(q - p - 1)), name)) {
        return NextNonEmptyLine(q, end);
      }
    }
    p = SkipSpaces(NextNonEmptyLine(p, end), end);
  }
  throw QXErr(kSectionNotFound);
}

}  // namespace qxi
