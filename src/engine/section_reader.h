// SectionReader: the base of every section walker (master sections, command sections, the
// Conditions section). It holds the section's bounds, the line and parameter numbers that
// messages quote, and the two text steps every walker uses: SkipBlanks and NextLine.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "engine/script_cursor.h"

namespace qxi {

class SectionReader {
 public:
  SectionReader() = default;
  SectionReader(const SectionReader&) = delete;
  SectionReader& operator=(const SectionReader&) = delete;

  /// Moves to the first token of the next line with content (blank-only and comment lines are
  /// passed, and counted) or to the end; adds to the line number.
  virtual ScriptCursor NextLine(ScriptCursor cursor);
  virtual ~SectionReader();

  /// Sets the walker up for the section body starting at `begin`: line 1, parameter 0.
  void SetUp(const char* begin, const char* text_end, std::string_view section_name);

  /// Passes blanks, then a comment; the result stands on a token's first character or at a
  /// line end.
  ScriptCursor SkipBlanks(ScriptCursor cursor) const;

  /// At the end of the section: the end of the text, or moved onto a '[' at a line start.
  bool AtEnd(const ScriptCursor& cursor) const { return cursor == end_; }
  /// At the end, or on a CR or LF.
  bool AtLineEnd(const ScriptCursor& cursor) const {
    return AtEnd(cursor) || IsLineBreak(*cursor.pos);
  }

  const ScriptCursor& begin() const { return begin_; }
  const ScriptCursor& end() const { return end_; }
  int32_t line() const { return line_; }
  void set_line(int32_t line) { line_ = line; }
  int32_t param() const { return param_; }
  void set_param(int32_t param) { param_ = param; }
  /// Moves to the next parameter of the line and returns its number.
  int32_t NextParam() { return ++param_; }
  const std::string& section_name() const { return section_name_; }
  /// Where the current line begins: the begin cursor, then wherever NextLine stopped. A
  /// report about the current line is about the line at this position.
  const ScriptCursor& line_start() const { return line_start_; }

  /// Reports a failure while reading the current line, in the walker's own message form;
  /// a plain reader sends what() alone.
  virtual void ReportReadFailure(const std::exception& e) const;

 private:
  ScriptCursor begin_;
  ScriptCursor line_start_;
  ScriptCursor end_{nullptr, nullptr, ScriptCursor::kEnd};
  int32_t line_ = 1;
  int32_t param_ = 0;
  std::string section_name_;
};

}  // namespace qxi
