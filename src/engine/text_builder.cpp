#include "engine/text_builder.h"

#include <cstring>

#include "engine/message_source.h"

namespace qxi {

TextBuilder& TextBuilder::operator<<(std::string_view text) {
  const size_t n = text.size() < room() ? text.size() : room();
  std::memcpy(text_ + length_, text.data(), n);
  length_ += n;
  text_[length_] = '\0';
  return *this;
}

// Decimal digits of our own: the C runtime's formatted printing would add a fifth to the DLL
// for the few numbers a message holds.
TextBuilder& TextBuilder::operator<<(long long number) {
  char digits[24];  // a sign and up to 19 digits
  char* end = digits + sizeof digits;
  char* first = end;
  // The magnitude is taken unsigned, so that the most negative number has one too.
  unsigned long long magnitude = number < 0 ? 0ull - static_cast<unsigned long long>(number)
                                            : static_cast<unsigned long long>(number);
  do {
    *--first = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) *--first = '-';
  return *this << std::string_view(first, static_cast<size_t>(end - first));
}

TextBuilder& TextBuilder::Quoted(std::string_view text) {
  *this << " \"";
  if (room() == 0) return *this;
  return *this << text.substr(0, room() - 1) << "\"";
}

bool TextBuilder::AppendTableText(int id, size_t limit) {
  const size_t size = limit < room() + 1 ? limit : room() + 1;
  return Took(LoadMessageText(id, text_ + length_, static_cast<int>(size)) > 0);
}

bool TextBuilder::AppendSystemText(uint32_t error, unsigned flags) {
  return Took(LoadWin32ErrorText(error, flags, text_ + length_, room() + 1));
}

bool TextBuilder::Took(bool loaded) {
  if (loaded) length_ += std::strlen(text_ + length_);
  text_[length_] = '\0';
  return loaded;
}

}  // namespace qxi
