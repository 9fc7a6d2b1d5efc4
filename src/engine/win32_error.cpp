#include "engine/win32_error.h"

#include "engine/message_source.h"
#include "engine/text_builder.h"

namespace qxi {

const char* Win32Error::what() const noexcept {
  TextBuilder text(text_, kTextSize);
  text.AppendSystemText(code_, kMessageFlagsForWin32Errors);
  return text.c_str();
}

}  // namespace qxi
