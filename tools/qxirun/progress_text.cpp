// Bars and progress lines as plain text.
#include "progress_text.h"

namespace qxirun {
namespace {

constexpr int kBarWidth = 30;

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

std::string SectionBarLine(const ProgressTracker& progress) {
  return progress.section_text() + " " +
         TextBar(progress.section_done(), progress.section_total(), kBarWidth) + " " +
         std::to_string(progress.section_done()) + "/" + std::to_string(progress.section_total());
}

std::string FileBarLine(const ProgressTracker& progress) {
  if (!progress.has_file()) return std::string();
  return "   " + progress.file_name() + " " +
         TextBar(progress.file_done(), progress.file_size(), kBarWidth) + " " +
         std::to_string(progress.file_done()) + "/" + std::to_string(progress.file_size()) +
         " bytes";
}

}  // namespace qxirun
