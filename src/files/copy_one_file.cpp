#include "files/copy_one_file.h"

#include <windows.h>

#include "files/file.h"
#include "files/file_commands.h"
#include "files/install_file.h"
#include "files/path_utils.h"

namespace qxi {
namespace {

// The host's progress bar moves at least once per block.
constexpr uint32_t kCopyBlockSize = 4096;

// How CopyFile installs (see InstallRules): folders only for a file it writes, no progress for
// a skipped one; a failed destination stays until the restart, which gets a copy staged
// silently (or the source itself); any failure of a file hands over; no priority until the
// file is in place.
constexpr InstallRules kCopyRules = {
    /*folder_before_priority=*/false,   /*skipped_file_advances=*/false,
    /*keep_failed_destination=*/true,   /*read_failure_hands_over=*/true,
    /*staged_copy_shows_blocks=*/false, /*staged_file_priority=*/false,
};

// The source file, read from its start for each output.
class SourceContents final : public InstallContents {
 public:
  explicit SourceContents(File& source) : source_(source) {}
  void WriteTo(InstallOutput& out) override {
    source_.Seek(0, FILE_BEGIN);
    char buffer[kCopyBlockSize];
    for (uint32_t count; (count = source_.Read(buffer, kCopyBlockSize)) != 0;) {
      out.Write(buffer, count);
    }
  }

 private:
  File& source_;
};

// The folder the destination file goes into. A name with a sub-path (SUB\A.DLL) needs its own
// folders below the destination folder: without them the destination could never be created,
// now or at the restart. A plain name keeps the destination folder exactly as the script gave it.
std::string FolderOfDestination(const std::string& destination_dir, const std::string& name) {
  if (name.find('\\') == std::string::npos) return destination_dir;
  return DirectoryOf(JoinPath(destination_dir, name));
}

}  // namespace

void CopyOneFile(const std::string& source_dir, const std::string& destination_dir,
                 const std::string& name, uint32_t /*attributes*/, uint32_t priority) {
  const std::string source_path = JoinPath(source_dir, name);
  File source(source_path.c_str(), OPEN_EXISTING, GENERIC_READ);
  const FileToInstall file = {JoinPath(destination_dir, name),
                              FolderOfDestination(destination_dir, name),
                              name,
                              source.Size(),
                              priority,
                              source_path};
  SourceContents contents(source);
  InstallFile(file, contents, kCopyRules);
}

void CopyFileCommand(const ParamList& params) {
  CopyOneFile(params[copy_line::kSourceDir], params[copy_line::kDestinationDir],
              params[copy_line::kName], params[copy_line::kAttributes],
              static_cast<uint32_t>(params[copy_line::kPriority]));
}

}  // namespace qxi
