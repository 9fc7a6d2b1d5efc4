#include "archive/extract_qxz.h"

#include <windows.h>

#include <string>

#include "archive/file_byte_source.h"
#include "archive/ncompress_except.h"
#include "archive/qxz_entry_decoder.h"
#include "archive/qxz_reader.h"
#include "engine/qx_err.h"
#include "files/file.h"
#include "files/install_file.h"
#include "files/path_utils.h"

namespace qxi {
namespace {

// How an entry is installed (each field says what it means for ExtractQXZ).
constexpr InstallRules kEntryRules = {
    /*folder_before_priority=*/true,   /*skipped_file_advances=*/true,
    /*keep_failed_destination=*/false, /*read_failure_hands_over=*/false,
    /*staged_copy_shows_blocks=*/true, /*staged_file_priority=*/true,
};

// An entry's data, decoded from the archive afresh for each output; a stream that does not
// decode to the stored CRC raises QXErr kCrcError after its last block.
class EntryContents final : public InstallContents, private QxzOutput {
 public:
  EntryContents(ByteSource& archive, const QxzEntry& entry) : archive_(archive), entry_(entry) {}

  void WriteTo(InstallOutput& out) override {
    out_ = &out;
    const bool matches = DecodeQxzEntry(archive_, entry_, *this).Matches(entry_);
    out.Flush();
    if (!matches) throw QXErr(kCrcError);
  }

  // The entry's time as creation and last-access time (the last-write time stays that of the
  // writing), then its attributes once the file is closed (best effort).
  void Finish(InstallOutput& out) override {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(entry_.info.file_time);
    time.dwHighDateTime = static_cast<DWORD>(entry_.info.file_time >> 32);
    out.file().SetTimes(&time, &time, nullptr);
    out.file().Close();
    SetFileAttributesA(out.path().c_str(), entry_.info.attributes);
  }

 private:
  void Write(const char* data, size_t size) override { out_->Write(data, size); }

  ByteSource& archive_;
  const QxzEntry& entry_;
  InstallOutput* out_ = nullptr;
};

// The header of the entry at the archive's position. A refused entry is reported with its
// name, so that the log says which entry of the archive was at fault.
QxzEntry ReadEntryToExtract(ByteSource& archive) {
  QxzEntry entry = ReadQxzEntryFields(archive);
  try {
    CheckQxzEntry(entry, archive.Size());
  } catch (const NCompress::Except& e) {
    throw NCompress::Except(e.code(), entry.info.name.c_str());
  }
  return entry;
}

// The entry's path below the destination directory. Windows takes slashes as separators
// too; turning them into backslashes lets DirectoryOf find the entry's own directory.
std::string DestinationPath(const std::string& destination_dir, std::string name) {
  for (char& c : name) {
    if (c == '/') c = '\\';
  }
  return JoinPath(destination_dir, name);
}

// Extracts the entry at `archive`'s position into `destination_dir` and leaves the position at
// the next entry.
void ExtractEntry(ByteSource& archive, const std::string& destination_dir) {
  const QxzEntry entry = ReadEntryToExtract(archive);
  const std::string destination = DestinationPath(destination_dir, entry.info.name);
  const FileToInstall file = {destination, DirectoryOf(destination), destination,
                              entry.info.size, entry.info.priority};
  EntryContents contents(archive, entry);
  InstallFile(file, contents, kEntryRules);
  // The decoder reads ahead of the entry's data, and a skipped entry is not read at all.
  archive.Seek(entry.next_offset());
}

void ExtractArchive(const std::string& archive_path, const std::string& destination_dir) {
  File archive(archive_path.c_str(), OPEN_EXISTING, GENERIC_READ);
  FileByteSource source(archive);
  while (source.Tell() < source.Size()) ExtractEntry(source, destination_dir);
}

}  // namespace

void archive_commands::ExtractQXZ(const ParamList& params) {
  ExtractArchive(params[kArchive], params[kDestinationDir]);
}

}  // namespace qxi
