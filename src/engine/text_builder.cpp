#include "engine/text_builder.h"

#include <cstdio>
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

TextBuilder& TextBuilder::operator<<(long long number) {
  char digits[24];
  std::snprintf(digits, sizeof digits, "%lld", number);
  return *this << std::string_view(digits);
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
