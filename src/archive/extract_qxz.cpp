#include "archive/extract_qxz.h"

#include <windows.h>

#include <optional>

#include "archive/entry_output.h"
#include "archive/file_byte_source.h"
#include "archive/ncompress_except.h"
#include "archive/qxz_entry_decoder.h"
#include "archive/qxz_reader.h"
#include "engine/host_callbacks.h"
#include "engine/qx_err.h"
#include "engine/text_compare.h"
#include "files/deferred_operations.h"
#include "files/file.h"
#include "files/path_utils.h"
#include "registry/priorities.h"

namespace qxi {
namespace {

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

}  // namespace

void ExtractEntry(ByteSource& archive, const std::string& destination_dir) {
  const QxzEntry entry = ReadEntryToExtract(archive);
  const QxzFileInfo& info = entry.info;
  const std::string destination = DestinationPath(destination_dir, info.name);
  Callbacks().set_sub_dialog(destination.c_str(), static_cast<int>(info.size));
  MakeDirectoryChain(DirectoryOf(destination), FILE_ATTRIBUTE_NORMAL);
  if (!CheckPriority(destination, info.priority)) {
    // Skipped; the progress still covers the entry.
    Callbacks().advance_dialog(static_cast<int>(info.size));
    archive.Seek(entry.next_offset());
    return;
  }

  std::optional<EntryOutput> output;
  output.emplace(destination);
  QxzDecodeResult result;
  try {
    result = DecodeQxzEntry(archive, entry, *output);
  } catch (const File::Except&) {
    // The destination was created (an earlier file there is already truncated) but could not
    // be filled, as when its volume runs full. Like a copy that fails part-way, the entry goes
    // to a temporary file for the restart to put in place; otherwise the destination would be
    // left with neither its earlier file nor the new one.
    if (!output->write_failed() || output->is_temporary()) throw;
    output.reset();  // removes the partly written destination
    output.emplace(EntryOutput::ToTemporaryFile{});
    result = DecodeQxzEntry(archive, entry, *output);
  }
  // A bad entry leaves nothing behind: the output is removed as the error leaves.
  if (!result.Matches(entry)) throw QXErr(kCrcError);
  output->Finish(info);
  if (output->is_temporary()) ScheduleTemporaryReplace(destination, output->path());
  UpdatePriority(destination, info.priority);
}

void ExtractArchive(const std::string& archive_path, const std::string& destination_dir) {
  File archive(archive_path.c_str(), OPEN_EXISTING, GENERIC_READ);
  FileByteSource source(archive);
  while (source.Tell() < source.Size()) ExtractEntry(source, destination_dir);
}

void ExtractQXZ(const ParamList& params) { ExtractArchive(params.Text(0), params.Text(1)); }

}  // namespace qxi
