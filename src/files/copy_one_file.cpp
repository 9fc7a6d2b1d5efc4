// The copy step of CopyFile: one file installed from a source folder into a destination folder.
#include "files/file_commands.h"

#include <windows.h>

#include <memory>

#include "files/file.h"
#include "files/install_file.h"
#include "files/path_utils.h"

namespace qxi {
namespace {

// The source is read in blocks as large as those the output writes (its progress still moves
// every 4,096 bytes).
constexpr uint32_t kCopyBlockSize = 64 * 1024;

// How CopyFile installs (each field says what it means for CopyFile).
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
    if (!buffer_) buffer_.reset(new char[kCopyBlockSize]);
    for (uint32_t count; (count = source_.Read(buffer_.get(), kCopyBlockSize)) != 0;) {
      out.Write(buffer_.get(), count);
    }
    out.Flush();
  }

 private:
  File& source_;
  std::unique_ptr<char[]> buffer_;
};

// The folder the destination file goes into. A name with a sub-path (SUB\A.DLL) needs its own
// folders below the destination folder: without them the destination could never be created,
// now or at the restart. A plain name keeps the destination folder exactly as the script gave it.
std::string FolderOfDestination(const std::string& destination_dir, const std::string& name) {
  if (name.find('\\') == std::string::npos) return destination_dir;
  return DirectoryOf(JoinPath(destination_dir, name));
}

void CopyOneFile(const std::string& source_dir, const std::string& destination_dir,
                 const std::string& name, uint32_t /*attributes*/, uint32_t priority) {
  const std::string source_path = JoinPath(source_dir, name);
  File source(source_path.c_str(), OPEN_EXISTING, GENERIC_READ);
  const FileToInstall file = {JoinPath(destination_dir, name),
                              FolderOfDestination(destination_dir, name), name, source.Size(),
                              priority};
  SourceContents contents(source);
  InstallFile(file, contents, kCopyRules);
}

}  // namespace

void file_commands::CopyFileCommand(const ParamList& params) {
  CopyOneFile(params[kSourceDir], params[kDestinationDir], params[kFileName],
              params[kCopyAttributes], static_cast<uint32_t>(params[kPriority]));
}

}  // namespace qxi
