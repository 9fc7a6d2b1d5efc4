#include "archive/ncompress_except.h"

#include <cstring>

#include "engine/qx_err.h"
#include "engine/message_source.h"
#include "engine/text_builder.h"

namespace qxi {
namespace NCompress {

Except::Except(uint32_t code, const char* entry_name) noexcept : code_(code) {
  CopyName(entry_name);
}

Except::Except(const Except& other) noexcept : Except(other.code_, other.entry_name_) {}

Except& Except::operator=(const Except& other) noexcept {
  code_ = other.code_;
  CopyName(other.entry_name_);
  text_[0] = '\0';
  return *this;
}

void Except::CopyName(const char* name) noexcept {
  size_t length = 0;
  while (length + 1 < kNameSize && name[length] != '\0') ++length;
  std::memcpy(entry_name_, name, length);
  entry_name_[length] = '\0';
}

const char* Except::what() const noexcept {
  TextBuilder text(text_, kTextSize);
  if (code_ == kInvalidFormat) {
    if (!text.AppendTableText(kInvalidQxz, kTextSize)) text << "Error message not found";
  } else if (!text.AppendSystemText(code_, kMessageFlagsForErrors)) {
    text << "Error code " << static_cast<long long>(code_);
  }
  if (entry_name_[0] != '\0') text.Quoted(entry_name_);
  return text.c_str();
}

}  // namespace NCompress
}  // namespace qxi
