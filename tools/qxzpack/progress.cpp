#include "progress.h"

#include <cstdio>

#include "file_metadata.h"

namespace qxzpack {

Progress::Progress(bool verbose, size_t total_entries)
    : enabled_(verbose || StderrIsTerminal()), in_place_(!verbose), total_(total_entries) {}

Progress::~Progress() {
  if (enabled_ && in_place_ && last_width_ > 0) std::fputc('\n', stderr);
}

void Progress::Entry(size_t index, const std::string& name) {
  if (!enabled_) return;
  char line[64];
  int width = total_ > 0 ? std::snprintf(line, sizeof line, "[%zu/%zu] ", index + 1, total_)
                         : std::snprintf(line, sizeof line, "[%zu] ", index + 1);
  width += static_cast<int>(name.size());
  if (in_place_) {
    // Blank out the rest of a longer previous line.
    const int pad = last_width_ > static_cast<size_t>(width)
                        ? static_cast<int>(last_width_) - width : 0;
    std::fprintf(stderr, "\r%s%s%*s", line, name.c_str(), pad, "");
    last_width_ = static_cast<size_t>(width);
  } else {
    std::fprintf(stderr, "%s%s\n", line, name.c_str());
  }
  std::fflush(stderr);
}

}  // namespace qxzpack
