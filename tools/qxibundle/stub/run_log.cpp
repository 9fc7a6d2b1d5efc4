#include "run_log.h"

#include <windows.h>

namespace qxistub {
namespace {

// Shows nothing: a run without a log file still counts through its observer.
class NoDisplay : public qxirun::ProgressDisplay {
 public:
  void SectionStarted(const qxirun::ProgressTracker&) override {}
  void FileStarted(const qxirun::ProgressTracker&) override {}
  void FileFinished(const qxirun::ProgressTracker&) override {}
  void Advanced(const qxirun::ProgressTracker&) override {}
  void ShowError(const std::string&) override {}
  void Finish(const qxirun::ProgressTracker&) override {}
};

}  // namespace

RunLog::RunLog(const std::string& path, bool silent) : path_(path), silent_(silent) {
  if (!path.empty()) file_ = std::fopen(path.c_str(), "a");
  if (file_ != nullptr) {
    display_ = std::make_unique<qxirun::PlainProgressDisplay>(file_, file_);
  } else {
    display_ = std::make_unique<NoDisplay>();
  }
  observer_ = std::make_unique<qxirun::RunObserver>(*display_, nullptr);
}

RunLog::~RunLog() {
  if (file_ != nullptr) std::fclose(file_);
}

void RunLog::Line(const std::string& line) {
  if (file_ == nullptr) return;
  std::fprintf(file_, "%s\n", line.c_str());
  std::fflush(file_);
}

void RunLog::Failure(const std::string& title, const std::string& text) {
  Line(title + ": " + text);
  if (!silent_) {
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  // A silent run has no one to tell but its caller: standard error, when it was given one.
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  const std::string line = title + ": " + text + "\r\n";
  DWORD written = 0;
  if (error != nullptr && error != INVALID_HANDLE_VALUE) {
    WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
}

}  // namespace qxistub
