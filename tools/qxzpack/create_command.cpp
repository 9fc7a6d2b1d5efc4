#include "create_command.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "archive/qxz_writer.h"
#include "archive_file.h"
#include "file_metadata.h"
#include "progress.h"
#include "source_tree.h"

namespace qxzpack {
namespace {

// At most this many bytes from the start of a file decide its literal coding.
constexpr size_t kTextSampleSize = 65536;

qxi::ImplodeLiterals ChooseLiterals(LiteralChoice choice, const std::vector<uint8_t>& data) {
  switch (choice) {
    case LiteralChoice::kText:
      return qxi::ImplodeLiterals::kCoded;
    case LiteralChoice::kBinary:
      return qxi::ImplodeLiterals::kBinary;
    case LiteralChoice::kAuto:
      break;
  }
  return LooksLikeText(data.data(), data.size()) ? qxi::ImplodeLiterals::kCoded
                                                 : qxi::ImplodeLiterals::kBinary;
}

}  // namespace

bool LooksLikeText(const uint8_t* data, size_t size) {
  if (size > kTextSampleSize) size = kTextSampleSize;
  if (size == 0) return false;
  size_t texty = 0;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t c = data[i];
    if ((c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r') ++texty;
  }
  return texty * 100 >= size * 95;
}

void CreateArchive(const CreateOptions& options) {
  const std::vector<SourceFile> files = CollectSourceFiles(options.base_dir, options.paths);
  const std::string partial = options.archive + ".part";
  UniqueFile out = OpenFile(partial, "wb");
  try {
    Progress progress(options.verbose, files.size());
    std::vector<uint8_t> entry;
    for (size_t i = 0; i < files.size(); ++i) {
      const SourceFile& file = files[i];
      progress.Entry(i, file.entry_name);
      const std::vector<uint8_t> data = ReadWholeFile(file.disk_path);
      const FileMetadata metadata = ReadFileMetadata(file.disk_path);
      qxi::QxzFileInfo info;
      info.name = file.entry_name;
      // Directory and other non-file flags do not belong to an extracted file.
      info.attributes = metadata.attributes & ~kAttributeDirectory;
      info.file_time = metadata.file_time;
      info.priority = options.priority;
      const qxi::ImplodeOptions implode{ChooseLiterals(options.literals, data),
                                        options.dictionary_size, options.effort};
      entry.clear();
      try {
        qxi::AppendQxzFile(info, data.data(), data.size(), implode, &entry);
      } catch (const std::exception& e) {
        throw std::runtime_error(file.disk_path + ": " + e.what());
      }
      WriteAll(out.get(), entry.data(), entry.size(), partial);
    }
    CloseChecked(&out, partial);
    std::error_code ignored;
    std::filesystem::remove(options.archive, ignored);
    std::filesystem::rename(partial, options.archive);
  } catch (...) {
    out.reset();
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    throw;
  }
}

}  // namespace qxzpack
