// Reading a text whose length only the system knows: a buffer is offered, and offered again
// larger until the text fits. A Win32 query tells that it did not fit either by answering the
// size it needs (GetFullPathNameA, GetWindowsDirectoryA, GetLogicalDriveStringsA) or, like the
// profile functions, by cutting the text and answering the buffer size less one (a value) or
// less two (a section list).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/qx_err.h"

namespace qxi {

/// The largest buffer offered (characters): far beyond any real path, drive list or INI
/// section, and small enough that the platform's own copies of it cannot overflow.
constexpr size_t kMaxReadBuffer = size_t{1} << 26;

/// Calls `read(buffer, size)`, which fills `buffer` and answers the characters it delivered
/// (or the size it needs), first with `initial_size`. An answer of `size - slack` or more may
/// be a cut text (one that fits exactly is read once more): the buffer grows to the larger of
/// twice its size and the answer plus one. Returns what the first answer that leaves room
/// delivered (empty for 0, a failed query); nothing when the text does not fit in `max_size`
/// characters. Never returns a cut text.
template <typename Read>
std::optional<std::string> GrowUntilComplete(size_t initial_size, size_t slack, Read read,
                                             size_t max_size = kMaxReadBuffer) {
  std::string buffer;
  for (size_t size = initial_size; size <= max_size;) {
    buffer.assign(size, '\0');
    const size_t answer = read(&buffer[0], size);
    if (answer + slack < size) {
      buffer.resize(answer);
      return buffer;
    }
    size = answer + 1 > size * 2 ? answer + 1 : size * 2;
  }
  return std::nullopt;
}

/// GrowUntilComplete, raising QXErr kOutOfMemory for a text that does not fit in `max_size`.
template <typename Read>
std::string ReadUntilComplete(size_t initial_size, size_t slack, Read read,
                              size_t max_size = kMaxReadBuffer) {
  std::optional<std::string> text = GrowUntilComplete(initial_size, slack, read, max_size);
  if (!text) throw QXErr(kOutOfMemory);
  return std::move(*text);
}

}  // namespace qxi
