// Installing one file under the priority rule, the one way CopyFile and ExtractQXZ put their
// files in place: ask the priorities store, write the destination block by block with
// progress, hand a destination that cannot be written to the restart, record the priority.
// Where the two commands differ, InstallRules says which does what.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "files/file.h"

namespace qxi {

/// A file being written for an installation, the destination or a staged copy: created for
/// writing (an existing file is truncated) and removed again when destroyed, unless kept.
class InstallOutput {
 public:
  /// Creates `path`; raises File::Except when it cannot. With `shows_progress` every block
  /// written advances the host's dialog by its size.
  InstallOutput(std::string path, bool shows_progress);
  ~InstallOutput();
  InstallOutput(const InstallOutput&) = delete;
  InstallOutput& operator=(const InstallOutput&) = delete;

  /// Writes one block. Raises File::Except when it is not written whole (a failed or short
  /// write), and remembers that it was the write that failed.
  void Write(const char* data, size_t size);
  /// Leaves the file where it is when this object goes.
  void Keep() { kept_ = true; }
  /// Closes the file (its handle; the file stays as Keep decides).
  void Close() { file_.reset(); }

  bool write_failed() const { return write_failed_; }
  const std::string& path() const { return path_; }
  /// The open file; only before Close.
  File& file() { return *file_; }

 private:
  std::string path_;
  bool shows_progress_;
  bool kept_ = false;
  bool write_failed_ = false;
  std::optional<File> file_;
};

/// The bytes of a file to install: a source file (CopyFile) or a decoded archive entry
/// (ExtractQXZ).
class InstallContents {
 public:
  virtual ~InstallContents() = default;
  /// Writes the whole contents into `out` from their start: once for the destination and,
  /// when that fails, once more for the staged copy. Raises what reading them raises, and
  /// what `out` raises.
  virtual void WriteTo(InstallOutput& out) = 0;
  /// Gives the written, kept file what the contents say beyond its bytes (an entry's times and
  /// attributes). Nothing by default.
  virtual void Finish(InstallOutput&) {}
};

/// One file to install.
struct FileToInstall {
  std::string destination;  ///< full path: the priorities store's name for the file
  std::string folder;       ///< the folder (chain) made for the destination
  std::string dialog_text;  ///< shown with the size in the sub-dialog
  uint32_t size;            ///< the size the progress counts (low 32 bits)
  uint32_t priority;        ///< 0 for none
  /// The file the restart moves into place when no staged copy can be made: CopyFile's
  /// source. Empty for ExtractQXZ, whose entry then fails.
  std::string stand_in;
};

/// Where CopyFile and ExtractQXZ install differently, each field saying which does what.
struct InstallRules {
  /// The folder is made before the priority is asked (ExtractQXZ, also for an entry the
  /// priority keeps out) or only for a file that is written (CopyFile).
  bool folder_before_priority;
  /// A file the priority keeps out advances the progress by its whole size (ExtractQXZ,
  /// which passes the entry over) or not at all (CopyFile).
  bool skipped_file_advances;
  /// A destination that fails part-way stays as the failure left it until the restart
  /// replaces it (CopyFile) or is removed, so that no short file stands for the entry
  /// (ExtractQXZ).
  bool keep_failed_destination;
  /// A failed read of the contents hands the file to the restart as a failed write does
  /// (CopyFile: the source is read again for the staged copy) or fails the command
  /// (ExtractQXZ: the archive is damaged).
  bool read_failure_hands_over;
  /// The staged copy advances the progress with every block, as the destination does
  /// (ExtractQXZ), or is written silently and the whole size advanced after it (CopyFile).
  bool staged_copy_shows_blocks;
  /// The priority is recorded also for a file handed to the restart (ExtractQXZ) or only for
  /// one written now (CopyFile).
  bool staged_file_priority;
};

/// Installs `file` from `contents`: calls the sub-dialog callback with its text and size;
/// unless CheckPriority refuses the destination, writes it with one advance per block and
/// records the priority; a destination that cannot be created or written is handed to the
/// restart (HandToRestart). Raises what `contents` raise where the rules do not hand the file
/// over, File::Except or QXErr when no staged copy can be made and there is no stand-in, and
/// RegKey::Except when the priority cannot be recorded.
void InstallFile(const FileToInstall& file, InstallContents& contents, const InstallRules& rules);

/// The one step that hands a file the destination cannot take now to the restart: a whole
/// copy is staged in a new temporary file and WININIT.INI names it for the destination (an
/// earlier staged copy of ours for it is deleted). Without a copy the stand-in is named
/// instead; raises when there is none.
void HandToRestart(const FileToInstall& file, InstallContents& contents, const InstallRules& rules);

}  // namespace qxi
