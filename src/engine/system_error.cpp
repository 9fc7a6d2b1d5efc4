#include "engine/system_error.h"

#include "engine/system_text.h"

namespace qxi {

const char* SystemError::what() const noexcept {
  // Bounded local storage: what() never allocates beyond the one copy it keeps.
  char buffer[1024];
  text_.clear();
  try {
    if (LoadSystemText(code_, kMessageFlagsForSystemErrors, buffer, sizeof buffer)) {
      text_ = buffer;
    }
  } catch (...) {
    text_.clear();  // out of memory while copying: the empty text
  }
  return text_.c_str();
}

}  // namespace qxi
