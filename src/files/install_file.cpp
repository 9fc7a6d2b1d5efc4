#include "files/install_file.h"

#include <windows.h>

#include <cstring>
#include <optional>

#include "engine/host_callbacks.h"
#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/qx_err.h"
#include "files/deferred_operations.h"
#include "files/file_journal.h"
#include "files/path_utils.h"
#include "files/restart_deferral.h"
#include "files/staged_copy.h"
#include "registry/priorities.h"

namespace qxi {
namespace {

// The file is written in blocks of this size: each write is a system call (under Wine a few),
// so a block per progress step would cost sixteen times as many.
constexpr uint32_t kInstallBlockSize = 64 * 1024;

// The host's progress dialog moves in steps no larger than this, as with 4 KB blocks.
constexpr uint32_t kProgressStep = 4096;

// The callbacks take a signed 32-bit number: the low 32 bits of a size pass as they are.
void Advance(size_t size) { Callbacks().advance_dialog(static_cast<int>(size)); }

// What a destination that could not be written whole leaves, journalled: one the rules keep
// was written as far as it got; one they remove took any earlier file with it.
void JournalUnfinished(const FileToInstall& file, bool existed, const InstallRules& rules) {
  if (rules.keep_failed_destination) JournalFileWrite(file.destination, existed);
  else if (existed) JournalPath(journal_kind::kFileDelete, file.destination);
}

// What became of the destination.
enum class Written {
  kWhole,         // in place
  kNotOpened,     // in use now: not touched
  kFailedPartWay  // created but not filled (a write, or a read where the rules say so)
};

// Writes the whole file at its destination. Raises QXErr kRunTimeError with the system's
// error for a destination that cannot wait for the restart, since the restart could not
// write it either. `existed` receives whether the destination was there before (for the
// journal: asked of the system only while journalling, when it could not be opened).
Written WriteDestination(const FileToInstall& file, InstallContents& contents,
                         const InstallRules& rules, bool& existed) {
  std::optional<InstallOutput> out;
  try {
    out.emplace(file.destination, true);
  } catch (const File::Except& e) {
    if (!CanWaitForRestart(file.destination, e.code())) throw QXErr(kRunTimeError, e.code());
    existed = Journaling() && IsPresent(file.destination);
    return Written::kNotOpened;
  }
  existed = out->file().existed();
  // A destination the rules keep stays as it is whatever happens to its writing.
  if (rules.keep_failed_destination) out->Keep();
  try {
    contents.WriteTo(*out);
  } catch (const File::Except&) {
    const bool hand_over = out->write_failed() || rules.read_failure_hands_over;
    out.reset();
    JournalUnfinished(file, existed, rules);
    if (!hand_over) throw;
    return Written::kFailedPartWay;
  } catch (...) {
    out.reset();
    JournalUnfinished(file, existed, rules);
    throw;
  }
  out->Keep();
  JournalFileWrite(file.destination, existed);
  contents.Finish(*out);
  return Written::kWhole;
}

}  // namespace

InstallOutput::InstallOutput(std::string path, bool shows_progress)
    : path_(std::move(path)),
      file_(path_.c_str(), CREATE_ALWAYS, GENERIC_WRITE),
      shows_progress_(shows_progress),
      block_(new char[kInstallBlockSize]) {}

InstallOutput::~InstallOutput() {
  file_.Close();
  if (kept_) return;
  SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);  // Finish may have made it read-only
  DeleteFileA(path_.c_str());
}

void InstallOutput::Write(const char* data, size_t size) {
  if (shows_progress_) {
    // An empty piece (the decoder's last block can be one) is an advance by 0, as before.
    size_t left = size;
    do {
      const uint32_t step = left < kProgressStep ? static_cast<uint32_t>(left) : kProgressStep;
      steps_.push_back(step);
      left -= step;
    } while (left > 0);
  }
  while (size > 0) {
    const uint32_t room = kInstallBlockSize - held_;
    const uint32_t n = size < room ? static_cast<uint32_t>(size) : room;
    std::memcpy(block_.get() + held_, data, n);
    held_ += n;
    data += n;
    size -= n;
    if (held_ == kInstallBlockSize) Flush();
  }
}

void InstallOutput::Flush() {
  const uint32_t size = held_;
  held_ = 0;
  try {
    WriteBlock(size);
  } catch (const File::Except&) {
    write_failed_ = true;
    throw;
  }
  flushed_ += size;
}

void InstallOutput::WriteBlock(uint32_t size) {
  const char* block = block_.get();
  const uint32_t written = size > 0 ? file_.WriteSome(block, size) : 0;
  if (written == size) {
    Report(size);
    return;
  }
  // A short write: most likely the volume is full. The rest goes in steps from the last
  // whole step, as the file was written before, so that a full volume fails with its own
  // error at the same step, and every step before it is reported.
  uint32_t done = written - written % kProgressStep;
  Report(done);
  file_.Seek(static_cast<int32_t>(flushed_ + done), FILE_BEGIN);
  while (done < size) {
    const uint32_t step = size - done < kProgressStep ? size - done : kProgressStep;
    file_.Write(block + done, step);
    Report(step);
    done += step;
  }
}

void InstallOutput::Report(uint32_t written) {
  if (!shows_progress_) return;
  unreported_ += written;
  size_t reported = 0;
  while (reported < steps_.size() && steps_[reported] <= unreported_) {
    unreported_ -= steps_[reported];
    Advance(steps_[reported++]);
  }
  steps_.erase(steps_.begin(), steps_.begin() + reported);
}

void InstallFile(const FileToInstall& file, InstallContents& contents, const InstallRules& rules) {
  Callbacks().set_sub_dialog(file.dialog_text.c_str(), static_cast<int>(file.size));
  if (rules.folder_before_priority) MakeDirectoryChain(file.folder, FILE_ATTRIBUTE_NORMAL);
  if (!CheckPriority(file.destination, file.priority)) {  // a newer file stays
    if (rules.skipped_file_advances) Advance(file.size);
    SendEvent(QXI_EVENT_FILE_LEFT, file.destination, file.size);
    return;
  }
  if (!rules.folder_before_priority) MakeDirectoryChain(file.folder, FILE_ATTRIBUTE_NORMAL);
  bool existed = false;
  const Written written = WriteDestination(file, contents, rules, existed);
  if (written == Written::kWhole) {
    SendEvent(QXI_EVENT_FILE_WRITTEN, file.destination, file.size);
    // A RegKey::Except fails the command: the file is in place, its priority unrecorded.
    UpdatePriority(file.destination, file.priority);
    return;
  }
  std::string staged;
  try {
    staged = HandToRestart(file, contents, rules);
  } catch (const QXErr&) {
    // Nothing will complete a short destination the rules kept: it goes, and the line is
    // reported.
    if (written == Written::kFailedPartWay && DeleteFileA(file.destination.c_str())) {
      JournalPath(journal_kind::kFileDelete, file.destination);
    }
    throw;
  }
  JournalRestartReplace(file.destination, staged, existed);
  SendEvent(QXI_EVENT_FILE_DEFERRED, file.destination, file.size);
  if (rules.staged_file_priority) UpdatePriority(file.destination, file.priority);
}

std::string HandToRestart(const FileToInstall& file, InstallContents& contents,
                          const InstallRules& rules) {
  // A copy is staged rather than the source named: the restart moves its file into place,
  // and a source (often on the installation medium, maybe read-only) must stay where it is.
  // The copy lies beside the destination because the restart only renames files: neither
  // family's restart moves one to another volume.
  std::string staged;
  try {
    InstallOutput out(MakeStagedCopyName(file.destination), rules.staged_copy_shows_blocks);
    contents.WriteTo(out);
    contents.Finish(out);
    // Closed first: the earlier copy for the destination is told from this one by opening
    // both. Raises when the operation cannot be recorded: the copy then goes with `out`.
    out.file().Close();
    ScheduleTemporaryReplace(file.destination, out.path());
    out.Keep();
    staged = out.path();
  } catch (const File::Except& e) {  // no room beside the destination, say
    throw QXErr(kRunTimeError, e.code());
  }
  if (!rules.staged_copy_shows_blocks) Advance(file.size);
  return staged;
}

}  // namespace qxi
