#include "archive/ncompress_except.h"

#include <cstdio>
#include <cstring>

#include "engine/qx_err.h"
#include "engine/system_text.h"

namespace qxi {
namespace NCompress {

Except::Except(uint32_t code, const char* entry_name) noexcept : code_(code) {
  std::snprintf(entry_name_, kNameSize, "%s", entry_name);
}

Except::Except(const Except& other) noexcept : Except(other.code_, other.entry_name_) {}

Except& Except::operator=(const Except& other) noexcept {
  code_ = other.code_;
  std::snprintf(entry_name_, kNameSize, "%s", other.entry_name_);
  text_[0] = '\0';
  return *this;
}

const char* Except::what() const noexcept {
  const char* code_text = CodeText();
  if (entry_name_[0] == '\0') return code_text;
  // The code's text may be text_ itself: compose behind it.
  const size_t length = std::strlen(code_text);
  if (code_text != text_) std::snprintf(text_, kTextSize, "%s", code_text);
  if (length < static_cast<size_t>(kTextSize)) {
    std::snprintf(text_ + length, kTextSize - length, " \"%s\"", entry_name_);
  }
  return text_;
}

const char* Except::CodeText() const noexcept {
  if (code_ == kInvalidFormat) {
    if (LoadMessageText(kInvalidQxz, text_, kTextSize) > 0) return text_;
    return "Error message not found";
  }
  if (LoadSystemText(code_, kMessageFlagsForErrors, text_, kTextSize)) return text_;
  std::snprintf(text_, kTextSize, "Error code %lu", static_cast<unsigned long>(code_));
  return text_;
}

}  // namespace NCompress
}  // namespace qxi
