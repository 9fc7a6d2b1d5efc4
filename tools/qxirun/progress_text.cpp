// Bars and progress lines as plain text.
#include "progress_text.h"

namespace qxirun {
namespace {

constexpr int kBarWidth = 30;

// "NN%" of a positive total, clamped; the bare count where the total gives no scale. A share
// changes at most a hundred times, so the live lines are not redrawn for every 4 KB block.
std::string ShareText(long long done, long long total) {
  if (total <= 0) return std::to_string(done);
  if (done > total) done = total;
  if (done < 0) done = 0;
  return std::to_string(done * 100 / total) + "%";
}

}  // namespace

std::string TextBar(long long done, long long total, int width) {
  long long filled = 0;
  if (total > 0) {
    if (done < 0) done = 0;
    if (done > total) done = total;
    filled = done * width / total;
  }
  return "[" + std::string(static_cast<size_t>(filled), '#') +
         std::string(static_cast<size_t>(width - filled), '.') + "]";
}

std::string SectionStartLine(const ProgressTracker& progress) {
  return "== " + progress.section_text() + " (" + std::to_string(progress.section_total()) + ")";
}

std::string FileStartLine(const ProgressTracker& progress) {
  return "   " + progress.file_name() + " (" + std::to_string(progress.file_size()) + " bytes)";
}

std::string FileEndLine(const ProgressTracker& progress) {
  switch (progress.file_outcome()) {
    case FileOutcome::kLeftByPriority:
      return FileStartLine(progress) + " left by priority";
    case FileOutcome::kDeferred:
      return FileStartLine(progress) + " waiting for the restart";
    default:
      return FileStartLine(progress);
  }
}

std::string SectionBarLine(const ProgressTracker& progress) {
  return progress.section_text() + " " +
         TextBar(progress.section_done(), progress.section_total(), kBarWidth) + " " +
         ShareText(progress.section_done(), progress.section_total());
}

std::string FileBarLine(const ProgressTracker& progress) {
  if (!progress.has_file()) return std::string();
  return "   " + progress.file_name() + " " +
         TextBar(progress.file_done(), progress.file_size(), kBarWidth) + " " +
         ShareText(progress.file_done(), progress.file_size()) + " of " +
         std::to_string(progress.file_size()) + " bytes";
}

}  // namespace qxirun
