// In-place redrawing through the console screen buffer functions. Positions are taken from
// the cursor each time, relative to the live lines, so scrolling does not disturb them.
#include "console_progress_display.h"

#include "progress_text.h"

namespace qxirun {
namespace {

/// The visible width of the console window; lines are cut one short of it so that writing
/// them never wraps onto a new line.
int VisibleWidth(HANDLE console) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(console, &info)) return 80;
  int width = info.srWindow.Right - info.srWindow.Left + 1;
  return width > 1 ? width : 80;
}

void Write(HANDLE console, const std::string& text) {
  DWORD written = 0;
  WriteConsoleA(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

std::vector<std::string> ConsoleProgressDisplay::LiveLines(const ProgressTracker& progress) {
  std::vector<std::string> lines{SectionBarLine(progress)};
  if (progress.has_file()) lines.push_back(FileBarLine(progress));
  return lines;
}

void ConsoleProgressDisplay::SectionStarted(const ProgressTracker& progress) {
  KeepSectionLine();
  Draw(LiveLines(progress));
}

void ConsoleProgressDisplay::Advanced(const ProgressTracker& progress) {
  std::vector<std::string> lines = LiveLines(progress);
  std::string joined;
  for (const std::string& line : lines) joined += line + "\n";
  // Byte advances come every 4 KB: only changed text is worth a console call.
  if (joined != last_drawn_) Draw(lines);
}

template <typename WriteLine>
void ConsoleProgressDisplay::WriteAbove(WriteLine write) {
  std::vector<std::string> live = live_;
  Draw({});
  write();
  live_.clear();
  Draw(live);
}

void ConsoleProgressDisplay::ShowError(const std::string& line) {
  WriteAbove([&] {
    std::fprintf(error_out_, "%s\n", line.c_str());
    std::fflush(error_out_);
  });
}

void ConsoleProgressDisplay::FileFinished(const ProgressTracker& progress) {
  if (progress.file_outcome() == FileOutcome::kWritten) return;
  WriteAbove([&] { Write(console_, FileEndLine(progress) + "\n"); });
}

void ConsoleProgressDisplay::Finish(const ProgressTracker&) {
  KeepSectionLine();
}

void ConsoleProgressDisplay::KeepSectionLine() {
  if (live_.empty()) return;
  Draw({live_.front()});
  Write(console_, "\n");
  live_.clear();
  last_drawn_.clear();
}

void ConsoleProgressDisplay::Draw(const std::vector<std::string>& lines) {
  if (lines.empty() && live_.empty()) return;
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(console_, &info)) return;
  size_t width = static_cast<size_t>(VisibleWidth(console_) - 1);
  // Back to the start of the first live line.
  COORD start = info.dwCursorPosition;
  start.X = 0;
  if (!live_.empty()) start.Y = static_cast<SHORT>(start.Y - (live_.size() - 1));
  SetConsoleCursorPosition(console_, start);

  size_t rows = lines.size() > live_.size() ? lines.size() : live_.size();
  last_drawn_.clear();
  for (size_t row = 0; row < rows; ++row) {
    std::string text = row < lines.size() ? lines[row] : std::string();
    if (row < lines.size()) last_drawn_ += text + "\n";
    text.resize(width, ' ');
    if (row > 0) Write(console_, "\n");
    Write(console_, text);
  }
  // The cursor goes back to the end of the last new line, counted from where the writing
  // ended (the screen may have scrolled); blank rows below it stay blank.
  if (!GetConsoleScreenBufferInfo(console_, &info)) return;
  COORD end = info.dwCursorPosition;
  size_t back = lines.empty() ? rows - 1 : rows - lines.size();
  end.Y = static_cast<SHORT>(end.Y - back);
  end.X = lines.empty() ? 0 : static_cast<SHORT>(lines.back().size() < width ? lines.back().size() : width);
  SetConsoleCursorPosition(console_, end);
  live_ = lines;
}

}  // namespace qxirun
