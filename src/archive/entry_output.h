// EntryOutput: the file one archive entry is extracted into. That is the destination itself
// or, when the destination cannot be written (in use, read-only, not creatable) or filled
// (its volume runs full), a new temporary file that the restart puts in its place.
#pragma once

#include <optional>
#include <string>

#include "archive/qxz_entry.h"
#include "archive/qxz_entry_decoder.h"
#include "files/file.h"

namespace qxi {

class EntryOutput : public QxzOutput {
 public:
  /// Selects the constructor that goes straight to a temporary file.
  struct ToTemporaryFile {};

  /// Creates `destination` for writing (an existing file is truncated), or else a temporary
  /// file "QXI....TMP" in the temporary directory. Raises QXErr kRunTimeError when no
  /// temporary name can be made and File::Except when the temporary file cannot be created.
  explicit EntryOutput(const std::string& destination);
  /// Creates a new temporary file "QXI....TMP" in the temporary directory; raises as above.
  explicit EntryOutput(ToTemporaryFile);
  /// Removes the file unless Finish has kept it: a partly written or bad entry does not stay.
  ~EntryOutput() override;
  EntryOutput(const EntryOutput&) = delete;
  EntryOutput& operator=(const EntryOutput&) = delete;

  /// Writes a block of decompressed data and advances the host's progress by its size.
  /// Raises File::Except when the write fails, and remembers that it did.
  void Write(const char* data, size_t size) override;

  /// Keeps the file: gives it `info`'s file time as creation and last-access time (the
  /// last-write time stays that of the writing), closes it and sets `info`'s attributes
  /// (best effort). Raises File::Except when the times cannot be set; the file stays then.
  void Finish(const QxzFileInfo& info);

  /// True when a Write has failed (the file's volume is full, say).
  bool write_failed() const { return write_failed_; }
  /// True when the data went to a temporary file instead of the destination.
  bool is_temporary() const { return temporary_; }
  /// The file written: the destination or the temporary file.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool temporary_ = false;
  bool kept_ = false;
  bool write_failed_ = false;
  std::optional<File> file_;
};

}  // namespace qxi
