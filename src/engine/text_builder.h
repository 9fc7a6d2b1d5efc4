// TextBuilder: composes a message in fixed storage from pieces: texts, decimal numbers, the
// string table's messages and the system's error texts. Every message the engine composes
// (the errors' what() texts, the log lines) is built with it: composing never allocates, never
// overflows, and cuts what does not fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qxi {

class TextBuilder {
 public:
  /// Builds into `storage` of `capacity` bytes (at least 1), which it empties.
  TextBuilder(char* storage, size_t capacity) : text_(storage), capacity_(capacity) {
    text_[0] = '\0';
  }

  TextBuilder& operator<<(std::string_view text);
  /// The decimal digits of `number`, with a minus sign when negative.
  TextBuilder& operator<<(long long number);
  /// A blank, then `text` in double quotes; `text` is cut so that the closing quote fits.
  TextBuilder& Quoted(std::string_view text);
  /// Appends the string-table text `id`, cut to `limit` - 1 characters. False, appending
  /// nothing, when the table has no text for it.
  bool AppendTableText(int id, size_t limit);
  /// Appends the system's text for Win32 error `error`, formatted with FormatMessageA `flags`.
  /// False, appending nothing, when the system has none.
  bool AppendSystemText(uint32_t error, unsigned flags);

  const char* c_str() const { return text_; }

 private:
  size_t room() const { return capacity_ - 1 - length_; }
  /// Keeps the text a loader placed at the end when it `loaded` one, else drops it.
  bool Took(bool loaded);

  char* text_;
  size_t capacity_;
  size_t length_ = 0;
};

}  // namespace qxi
