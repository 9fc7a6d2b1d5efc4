// The plain display: lines that read well in a log file or a pipe.
#include "progress_display.h"

#include "progress_text.h"

namespace qxirun {

void PlainProgressDisplay::SectionStarted(const ProgressTracker& progress) {
  PrintPendingFile();
  Print(SectionStartLine(progress));
}

void PlainProgressDisplay::FileStarted(const ProgressTracker& progress) {
  PrintPendingFile();
  pending_file_ = FileStartLine(progress);
}

void PlainProgressDisplay::FileFinished(const ProgressTracker& progress) {
  pending_file_.clear();
  Print(FileEndLine(progress));
}

void PlainProgressDisplay::PrintPendingFile() {
  if (pending_file_.empty()) return;
  Print(pending_file_);
  pending_file_.clear();
}

void PlainProgressDisplay::ShowError(const std::string& line) {
  PrintPendingFile();
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
