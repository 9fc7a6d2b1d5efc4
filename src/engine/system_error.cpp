#include "engine/system_error.h"

#include "engine/system_text.h"
#include "engine/text_builder.h"

namespace qxi {

const char* SystemError::what() const noexcept {
  TextBuilder text(text_, kTextSize);
  text.AppendSystemText(code_, kMessageFlagsForSystemErrors);
  return text.c_str();
}

}  // namespace qxi
