// The callback bookkeeping shared by the console and the window host.
#include "progress_tracker.h"

#include "qxi.h"

namespace qxirun {

void ProgressTracker::BeginSection(const char* text, int total) {
  section_text_ = text;
  section_total_ = total;
  section_done_ = 0;
  in_section_ = true;
  has_file_ = false;
  ++counts_.sections;
}

void ProgressTracker::BeginFile(const char* name, int size) {
  file_name_ = name;
  // The engine passes a file's 32-bit size in a signed int: a file of 2 GB or more arrives
  // negative, and would otherwise never be in progress.
  file_size_ = static_cast<unsigned int>(size);
  file_done_ = 0;
  has_file_ = true;
  file_outcome_ = FileOutcome::kPending;
}

void ProgressTracker::Advance(int amount) {
  section_done_ += amount;
  // A file whose bytes are all there claims no more advances: the line step of an Include
  // line whose script ended with a copy belongs to the section alone.
  if (FileInProgress()) file_done_ += amount;
}

void ProgressTracker::CountEvent(int kind, unsigned int number) {
  switch (kind) {
    case QXI_EVENT_LINE_RUN:
      ++counts_.lines_run;
      break;
    case QXI_EVENT_LINE_SKIPPED:
      ++counts_.lines_skipped;
      break;
    case QXI_EVENT_FILE_WRITTEN:
      ++counts_.files_written;
      counts_.bytes_written += number;
      file_outcome_ = FileOutcome::kWritten;
      break;
    case QXI_EVENT_FILE_LEFT:
      ++counts_.files_left;
      file_outcome_ = FileOutcome::kLeftByPriority;
      break;
    case QXI_EVENT_FILE_DEFERRED:
      ++counts_.files_deferred;
      file_outcome_ = FileOutcome::kDeferred;
      break;
    default:
      break;
  }
}

}  // namespace qxirun
