#include "engine/qx_err.h"

#include <cstdio>
#include <cstring>

#include "engine/system_text.h"

namespace qxi {

QXErr& QXErr::operator=(const QXErr& other) noexcept {
  code_ = other.code_;
  win32_error_ = other.win32_error_;
  text_[0] = '\0';
  return *this;
}

const char* QXErr::what() const noexcept {
  int length = LoadMessageText(code_, text_, kTableTextSize);
  if (length <= 0) return "Error message not found";
  if (win32_error_ == 0) return text_;

  // The system text is cut so that the closing quote always fits.
  char system_text[kTextSize];
  if (LoadSystemText(win32_error_, kMessageFlagsForErrors, system_text, sizeof system_text)) {
    std::snprintf(text_ + length, kTextSize - length, " \"%.*s\"",
                  static_cast<int>(kTextSize - length - 4), system_text);
  } else {
    std::snprintf(text_ + length, kTextSize - length, " code %ld",
                  static_cast<long>(static_cast<int32_t>(win32_error_)));
  }
  return text_;
}

}  // namespace qxi
