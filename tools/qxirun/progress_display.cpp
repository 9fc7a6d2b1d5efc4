// The plain display: lines that read well in a log file or a pipe.
#include "progress_display.h"

#include "progress_text.h"

namespace qxirun {

void PlainProgressDisplay::SectionStarted(const ProgressTracker& progress) {
  Print(SectionStartLine(progress));
}

void PlainProgressDisplay::FileStarted(const ProgressTracker& progress) {
  Print(FileStartLine(progress));
}

void PlainProgressDisplay::ShowError(const std::string& line) {
  std::fprintf(error_out_, "%s\n", line.c_str());
  std::fflush(error_out_);
}

void PlainProgressDisplay::Print(const std::string& line) {
  if (progress_out_ == nullptr) return;
  std::fprintf(progress_out_, "%s\n", line.c_str());
  // Flushed per line, so that progress and failures on the other stream stay in order.
  std::fflush(progress_out_);
}

}  // namespace qxirun
