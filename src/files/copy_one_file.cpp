#include "files/copy_one_file.h"

#include <windows.h>

#include "engine/host_callbacks.h"
#include "files/deferred_operations.h"
#include "files/file.h"
#include "files/path_utils.h"
#include "registry/priorities.h"

namespace qxi {
namespace {

// The host's progress bar moves at least once per block.
constexpr uint32_t kCopyBlockSize = 4096;

// The folder the destination file goes into. A name with a sub-path (SUB\A.DLL) needs its own
// folders below the destination folder: without them the destination could never be created,
// now or at the restart. A plain name keeps the destination folder exactly as the script gave it.
std::string FolderOfDestination(const std::string& destination_dir, const std::string& name) {
  if (name.find('\\') == std::string::npos) return destination_dir;
  return DirectoryOf(JoinPath(destination_dir, name));
}

// Copies the rest of `source` into `destination` block by block, advancing the host's dialog
// by each block's size. Raises File::Except on a read or write error.
void CopyBlocks(File& source, File& destination) {
  char buffer[kCopyBlockSize];
  for (;;) {
    uint32_t count = source.Read(buffer, kCopyBlockSize);
    if (count == 0) return;
    destination.Write(buffer, count);
    Callbacks().advance_dialog(static_cast<int>(count));
  }
}

}  // namespace

void CopyOneFile(const std::string& source_dir, const std::string& destination_dir,
                 const std::string& name, uint32_t /*attributes*/, uint32_t priority) {
  const std::string source_path = JoinPath(source_dir, name);
  const std::string destination_path = JoinPath(destination_dir, name);
  File source(source_path.c_str(), OPEN_EXISTING, GENERIC_READ);
  // The callbacks take a signed 32-bit number: the low 32 bits of the size are passed as they are.
  const int size = static_cast<int>(source.Size());
  Callbacks().set_sub_dialog(name.c_str(), size);
  if (!CheckPriority(destination_path, priority)) return;  // a newer file stays
  try {
    MakeDirectoryChain(FolderOfDestination(destination_dir, name), FILE_ATTRIBUTE_NORMAL);
    File destination(destination_path.c_str(), CREATE_ALWAYS, GENERIC_WRITE);
    CopyBlocks(source, destination);
    // A RegKey::Except from here fails the command: the file is in place, its priority unrecorded.
    UpdatePriority(destination_path, priority);
  } catch (const File::Except&) {
    // In use, read-only or not creatable: the source itself replaces it at the restart.
    ScheduleReplace(destination_path, source_path);
    Callbacks().advance_dialog(size);
  }
}

void CopyFileCommand(const ParamList& params) {
  CopyOneFile(params.Text(0), params.Text(1), params.Text(2), params.Attributes(3),
              static_cast<uint32_t>(params.Integer(4)));
}

}  // namespace qxi
