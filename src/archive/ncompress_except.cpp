#include "archive/ncompress_except.h"

#include <cstdio>

#include "engine/qx_err.h"
#include "engine/system_text.h"

namespace qxi {
namespace NCompress {

Except& Except::operator=(const Except& other) noexcept {
  code_ = other.code_;
  text_[0] = '\0';
  return *this;
}

const char* Except::what() const noexcept {
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
