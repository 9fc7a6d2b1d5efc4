#include "engine/section_reader.h"

#include "engine/failure_report.h"

namespace qxi {

SectionReader::~SectionReader() = default;

void SectionReader::SetUp(const char* begin, const char* text_end,
                          std::string_view section_name) {
  section_name_.assign(section_name.data(), section_name.size());
  begin_ = ScriptCursor(begin, text_end, ScriptCursor::kLineStart);
  line_start_ = begin_;
  end_ = ScriptCursor(text_end, text_end, ScriptCursor::kEnd);
  line_ = 1;
  param_ = 0;
}

ScriptCursor SectionReader::SkipBlanks(ScriptCursor cursor) const {
  while (!AtEnd(cursor) && *cursor.pos == ' ') cursor.Advance();
  if (!AtLineEnd(cursor) && *cursor.pos == ';') {
    while (!AtLineEnd(cursor)) cursor.Advance();
  }
  return cursor;
}

ScriptCursor SectionReader::NextLine(ScriptCursor cursor) {
  do {
    while (!AtLineEnd(cursor)) cursor.Advance();
    while (!AtEnd(cursor) && IsLineBreak(*cursor.pos)) cursor.Advance();
    ++line_;
    cursor = SkipBlanks(cursor);
  } while (!AtEnd(cursor) && IsLineBreak(*cursor.pos));
  line_start_ = cursor;
  return cursor;
}

void SectionReader::ReportReadFailure(const std::exception& e) const {
  (LogLine() << FailureText(e).get()).Send(*this);
}

}  // namespace qxi
