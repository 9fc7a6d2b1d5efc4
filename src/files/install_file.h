// Installing one file under the priority rule, the one way CopyFile and ExtractQXZ put their
// files in place: ask the priorities store, write the destination block by block with
// progress, hand a destination that cannot be written to the restart, record the priority.
// Where the two commands differ, InstallRules says which does what.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/file.h"

namespace qxi {

/// A file written for an installation, the destination or a staged copy: created for writing
/// (an existing file is truncated; raises File::Except when it cannot be) and removed again
/// when destroyed, unless kept. Bytes go to the file in blocks of 64 KB; with
/// `shows_progress` the host's dialog advances by each Write's size in steps of at most
/// 4,096 bytes (an empty Write by 0), each step once its bytes are in the file.
class InstallOutput {
 public:
  InstallOutput(std::string path, bool shows_progress);
  ~InstallOutput();
  InstallOutput(const InstallOutput&) = delete;
  InstallOutput& operator=(const InstallOutput&) = delete;

  /// Takes one piece of the contents; raises File::Except when a block is not written whole
  /// (a failed or short write) and remembers that the write failed.
  void Write(const char* data, size_t size);
  /// Writes what Write holds back; the contents call it after their last byte. Raises as
  /// Write does. What is still held when the output is destroyed is dropped.
  void Flush();
  void Keep() { kept_ = true; }

  bool write_failed() const { return write_failed_; }
  const std::string& path() const { return path_; }
  File& file() { return file_; }

 private:
  // Writes the first `size` bytes of the block (after a short write, in 4,096-byte steps).
  void WriteBlock(uint32_t size);
  // Counts `written` more bytes as in the file and reports each step they complete.
  void Report(uint32_t written);

  std::string path_;
  File file_;
  bool shows_progress_;
  bool kept_ = false;
  bool write_failed_ = false;
  std::unique_ptr<char[]> block_;
  uint32_t held_ = 0;            // bytes of block_ not yet written
  std::vector<uint32_t> steps_;  // progress steps not yet reported, in order
  uint64_t unreported_ = 0;      // bytes in the file that no reported step covers yet
  uint32_t flushed_ = 0;         // bytes written before the block
};

/// The bytes of a file to install: a source file (CopyFile) or a decoded entry (ExtractQXZ).
class InstallContents {
 public:
  virtual ~InstallContents() = default;
  /// Writes the whole contents into `out` from their start (again for a staged copy after a
  /// failed write) and flushes it. Raises what reading them raises, and what `out` raises.
  virtual void WriteTo(InstallOutput& out) = 0;
  /// Gives the kept file what the contents say beyond its bytes (an entry's times, attributes).
  virtual void Finish(InstallOutput&) {}
};

struct FileToInstall {
  std::string destination;  ///< full path, the priorities store's name for the file
  std::string folder;       ///< made (with the folders above it) for the destination
  std::string dialog_text;  ///< shown with the size in the sub-dialog
  uint32_t size;            ///< what the progress counts
  uint32_t priority;        ///< 0 for none
};

/// Where CopyFile and ExtractQXZ install differently.
struct InstallRules {
  /// The folder is made before the priority is asked, also for a file the priority keeps
  /// out (ExtractQXZ), or only for a file that is written (CopyFile).
  bool folder_before_priority;
  /// A file the priority keeps out advances the progress by its size (ExtractQXZ passes the
  /// entry over) or not at all (CopyFile).
  bool skipped_file_advances;
  /// A destination that fails part-way stays as it is until the restart replaces it
  /// (CopyFile), or is removed so that no short file stands for the entry (ExtractQXZ).
  bool keep_failed_destination;
  /// A failed read hands the file to the restart like a failed write (CopyFile reads its
  /// source again for the staged copy) or fails the command (ExtractQXZ: a damaged archive).
  bool read_failure_hands_over;
  /// The staged copy advances the progress with every block (ExtractQXZ) or is written
  /// silently and the whole size advanced after it (CopyFile).
  bool staged_copy_shows_blocks;
  /// The priority is recorded also for a file handed to the restart (ExtractQXZ) or only for
  /// one written now (CopyFile).
  bool staged_file_priority;
};

/// Installs `file` from `contents`: the sub-dialog callback with its text and size; unless
/// CheckPriority refuses the destination, the destination written with one advance per block
/// and the priority recorded; a destination in use (CanWaitForRestart), or one whose writing
/// fails part-way, handed to the restart. The host hears how it ended: a file left by
/// priority, written, or handed to the restart (run events, sent before the priority is
/// recorded). A destination that can never be written raises QXErr kRunTimeError with the
/// system's error, and nothing is recorded or sent for it. Raises also what `contents` raise
/// where the rules do not hand the file over, what HandToRestart raises (a destination that
/// failed part-way is then removed), and RegKey::Except when the priority cannot be recorded.
void InstallFile(const FileToInstall& file, InstallContents& contents, const InstallRules& rules);

/// The one step that hands a file the destination cannot take now to the restart: a whole
/// copy is staged beside the destination (MakeStagedCopyName) and recorded to replace it
/// (ScheduleTemporaryReplace, which deletes an earlier staged copy of ours for it). Raises
/// QXErr kRunTimeError with the system's error when the copy cannot be made or recorded;
/// no copy is left then. Returns the staged copy's path.
std::string HandToRestart(const FileToInstall& file, InstallContents& contents,
                          const InstallRules& rules);

}  // namespace qxi
