#include "engine/qx_err.h"

#include "engine/message_source.h"
#include "engine/text_builder.h"

namespace qxi {

QXErr& QXErr::operator=(const QXErr& other) noexcept {
  code_ = other.code_;
  win32_error_ = other.win32_error_;
  text_[0] = '\0';
  return *this;
}

const char* QXErr::what() const noexcept {
  TextBuilder text(text_, kTextSize);
  if (!text.AppendTableText(code_, kTableTextSize)) return "Error message not found";
  if (win32_error_ == 0) return text.c_str();
  char system_text[kTextSize];
  if (LoadWin32ErrorText(win32_error_, kMessageFlagsForErrors, system_text, sizeof system_text)) {
    text.Quoted(system_text);
  } else {
    text << " code " << static_cast<long long>(static_cast<int32_t>(win32_error_));
  }
  return text.c_str();
}

}  // namespace qxi
