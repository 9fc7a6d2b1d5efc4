// ScriptCursor: a position in the mapped script text with its line state. The state is how
// the end of a section is seen: a cursor that moves onto a '[' at the start of a line is at
// the end, exactly like a cursor at the end of the text. The view has no terminating NUL, so
// the cursor carries the end of the text and never reads at or past it.
#pragma once

namespace qxi {

inline bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

struct ScriptCursor {
  enum State { kInLine = 0, kLineStart = 1, kEnd = 2 };

  const char* pos = nullptr;
  const char* text_end = nullptr;
  int state = kLineStart;

  ScriptCursor() = default;
  ScriptCursor(const char* position, const char* end, int line_state)
      : pos(position), text_end(end), state(line_state) {}

  /// Moves one character on and updates the line state; does nothing at the end of the text.
  void Advance() {
    if (pos == nullptr || pos >= text_end) return;
    // The begin cursor of a section is at a line start even on a token's first character;
    // moving off that character leaves the line start, so a '[' later on the first line
    // does not end the section.
    if (state == kLineStart && *pos != ' ' && !IsLineBreak(*pos)) state = kInLine;
    const char* next = pos + 1;
    if (state == kLineStart && next < text_end && *next == '[') state = kEnd;
    pos = next;
    if (state == kEnd || pos >= text_end) return;
    const char c = *pos;
    if (IsLineBreak(c)) {
      state = kLineStart;
    } else if (!(state == kLineStart && c == ' ')) {
      state = kInLine;
    }
  }

  /// Equal positions, or both at the end of a section.
  bool operator==(const ScriptCursor& other) const {
    return pos == other.pos || (state == kEnd && other.state == kEnd);
  }
  bool operator!=(const ScriptCursor& other) const { return !(*this == other); }
};

}  // namespace qxi
