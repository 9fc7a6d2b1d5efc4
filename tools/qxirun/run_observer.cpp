// Callbacks to tracker, display and log file.
#include "run_observer.h"

#include <string>

#include "qxi.h"

namespace qxirun {

void RunObserver::Log(const char* context, const char* message) {
  progress_.CountError();
  std::string line = std::string(context) + ": " + message;
  display_.ShowError(line);
  if (log_file_ != nullptr) {
    std::fprintf(log_file_, "%s\n", line.c_str());
    // The run may end in a restart or log-off that never returns: keep each line.
    std::fflush(log_file_);
  }
}

void RunObserver::SetDialog(const char* text, int number) {
  progress_.BeginSection(text, number);
  display_.SectionStarted(progress_);
}

void RunObserver::SetSubDialog(const char* text, int number) {
  progress_.BeginFile(text, number);
  display_.FileStarted(progress_);
}

void RunObserver::Advance(int amount) {
  progress_.Advance(amount);
  display_.Advanced(progress_);
}

void RunObserver::Event(int kind, const char*, unsigned int number) {
  progress_.CountEvent(kind, number);
  if (kind == QXI_EVENT_FILE_WRITTEN || kind == QXI_EVENT_FILE_LEFT ||
      kind == QXI_EVENT_FILE_DEFERRED) {
    display_.FileFinished(progress_);
  }
}

}  // namespace qxirun
