// The profile functions cut a text that does not fit the caller's buffer and say so only by
// returning the buffer size less one (a value) or less two (a section list). Reading a whole
// text therefore means asking again with a larger buffer until the answer leaves room.
#pragma once

#include <cstddef>
#include <string>

#include "engine/qx_err.h"

namespace qxi {

/// The largest buffer handed to a profile function (characters): far beyond any real INI
/// section, and small enough that the platform's own copies of it cannot overflow.
constexpr size_t kMaxProfileBuffer = size_t{1} << 26;

/// Calls `read(buffer, size)`, which fills `buffer` and returns how many characters it
/// delivered, first with `initial_size` and then with doubled sizes for as long as the answer
/// is `size - slack` (the platform's sign that the text may have been cut; a text that fits
/// exactly gives the same answer and is read once more). Returns the characters delivered by
/// the first answer that leaves room. Raises QXErr kOutOfMemory when the text does not fit
/// in `max_size` characters; never returns a cut text.
template <typename Read>
std::string ReadUntilComplete(size_t initial_size, size_t slack, Read read,
                              size_t max_size = kMaxProfileBuffer) {
  std::string buffer;
  for (size_t size = initial_size; size <= max_size; size *= 2) {
    buffer.assign(size, '\0');
    size_t delivered = read(&buffer[0], size);
    if (delivered + slack < size) {
      buffer.resize(delivered);
      return buffer;
    }
  }
  throw QXErr(kOutOfMemory);
}

}  // namespace qxi
