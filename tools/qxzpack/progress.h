// Progress of a long run, on standard error: one status line rewritten in place on a
// terminal, one line per entry when asked to be verbose, nothing otherwise.
#pragma once

#include <cstddef>
#include <string>

namespace qxzpack {

class Progress {
 public:
  /// Shows progress when verbose is set or standard error is a terminal.
  Progress(bool verbose, size_t total_entries);
  /// Ends the status line, if one is showing.
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  /// Reports that entry number index (from 0) is being worked on.
  void Entry(size_t index, const std::string& name);

 private:
  bool enabled_;
  bool in_place_;
  size_t total_;
  size_t last_width_ = 0;
};

}  // namespace qxzpack
