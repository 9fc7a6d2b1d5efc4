#include "examine_commands.h"

#include <filesystem>

#include "archive/qxz_entry_decoder.h"
#include "archive_file.h"
#include "archive_walk.h"
#include "file_metadata.h"
#include "progress.h"

namespace qxzpack {
namespace {

// Decoded output that is only checked, not kept.
class DiscardOutput : public qxi::QxzOutput {
 public:
  void Write(const char*, size_t) override {}
};

// Decoded output written to an open file.
class FileOutput : public qxi::QxzOutput {
 public:
  FileOutput(std::FILE* file, const std::string& path) : file_(file), path_(path) {}
  void Write(const char* data, size_t size) override { WriteAll(file_, data, size, path_); }

 private:
  std::FILE* file_;
  const std::string& path_;
};

std::string AttributeLetters(uint32_t attributes) {
  std::string letters = "----";
  if (attributes & kAttributeReadOnly) letters[0] = 'R';
  if (attributes & kAttributeHidden) letters[1] = 'H';
  if (attributes & kAttributeSystem) letters[2] = 'S';
  if (attributes & kAttributeArchive) letters[3] = 'A';
  return letters;
}

std::string RatioText(uint64_t packed, uint64_t size) {
  char text[16];
  if (size == 0) return "-";
  std::snprintf(text, sizeof text, "%.1f%%", 100.0 * static_cast<double>(packed) / size);
  return text;
}

// The entry's path below dir with the separators this system uses.
std::string OutputPath(const std::string& dir, const std::string& name) {
  std::filesystem::path path(dir);
  size_t begin = 0;
  for (;;) {
    const size_t end = name.find_first_of("\\/", begin);
    path /= name.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return path.string();
}

}  // namespace

std::string FileTimeText(uint64_t file_time) {
  // Days and seconds since 1970, then the civil date of the day count (proleptic Gregorian).
  const int64_t seconds = static_cast<int64_t>(file_time / 10'000'000) - 11'644'473'600;
  int64_t days = seconds / 86400;
  int64_t second_of_day = seconds % 86400;
  if (second_of_day < 0) {
    second_of_day += 86400;
    --days;
  }
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t month_index = (5 * day_of_year + 2) / 153;
  const int64_t day = day_of_year - (153 * month_index + 2) / 5 + 1;
  const int64_t month = month_index < 10 ? month_index + 3 : month_index - 9;
  const int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld",
                static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day), static_cast<long long>(second_of_day / 3600),
                static_cast<long long>(second_of_day / 60 % 60),
                static_cast<long long>(second_of_day % 60));
  return text;
}

void ListArchive(const std::string& archive, std::FILE* out) {
  ArchiveFileSource source(archive);
  std::fprintf(out, "%10s %10s %6s %-8s %-13s %-19s %8s  %s\n", "Size", "Packed", "Ratio",
               "CRC", "Attributes", "Time (UTC)", "Priority", "Name");
  uint64_t total_size = 0;
  uint64_t total_packed = 0;
  const size_t count = WalkArchive(source, archive, [&](size_t, const qxi::QxzEntry& entry) {
    const qxi::QxzFileInfo& info = entry.info;
    std::fprintf(out, "%10lu %10llu %6s %08X %08X %-4s %-19s %8lu  %s\n",
                 static_cast<unsigned long>(info.size),
                 static_cast<unsigned long long>(entry.data_size),
                 RatioText(entry.data_size, info.size).c_str(), static_cast<unsigned>(info.crc),
                 static_cast<unsigned>(info.attributes), AttributeLetters(info.attributes).c_str(),
                 FileTimeText(info.file_time).c_str(), static_cast<unsigned long>(info.priority),
                 info.name.c_str());
    total_size += info.size;
    total_packed += entry.data_size;
  });
  std::fprintf(out, "%10llu %10llu %6s  %zu entries\n", static_cast<unsigned long long>(total_size),
               static_cast<unsigned long long>(total_packed),
               RatioText(total_packed, total_size).c_str(), count);
}

size_t TestArchive(const std::string& archive, bool verbose, std::FILE* out, std::FILE* err) {
  ArchiveFileSource source(archive);
  Progress progress(verbose, 0);
  size_t failures = 0;
  const size_t count = WalkArchive(source, archive, [&](size_t index, const qxi::QxzEntry& entry) {
    progress.Entry(index, entry.info.name);
    DiscardOutput output;
    const qxi::QxzDecodeResult result = qxi::DecodeQxzEntry(source, entry, output);
    if (!result.Matches(entry)) {
      ++failures;
      const EntryError error(archive, index, entry.info.name, entry.offset,
                             DecodeFailureText(result.explode_result, entry.info.crc, result.crc));
      std::fprintf(err, "qxzpack: %s\n", error.what());
    }
  });
  if (failures == 0) {
    std::fprintf(out, "%s: %zu entries OK\n", archive.c_str(), count);
  } else {
    std::fprintf(out, "%s: %zu of %zu entries failed\n", archive.c_str(), failures, count);
  }
  return failures;
}

void ExtractArchive(const std::string& archive, const std::string& dir, bool verbose) {
  ArchiveFileSource source(archive);
  Progress progress(verbose, 0);
  WalkArchive(source, archive, [&](size_t index, const qxi::QxzEntry& entry) {
    progress.Entry(index, entry.info.name);
    const std::string path = OutputPath(dir, entry.info.name);
    try {
      std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    } catch (const std::exception& e) {
      throw EntryError(archive, index, entry.info.name, entry.offset, e.what());
    }
    // An earlier extraction may have left the file read-only.
    RemoveFileForcibly(path);
    qxi::QxzDecodeResult result;
    {
      UniqueFile file = OpenFile(path, "wb");
      FileOutput output(file.get(), path);
      try {
        result = qxi::DecodeQxzEntry(source, entry, output);
        CloseChecked(&file, path);
      } catch (...) {
        file.reset();
        RemoveFileForcibly(path);
        throw;
      }
    }
    if (!result.Matches(entry)) {
      RemoveFileForcibly(path);
      throw EntryError(archive, index, entry.info.name, entry.offset,
                       DecodeFailureText(result.explode_result, entry.info.crc, result.crc));
    }
    ApplyFileMetadata(path, {entry.info.attributes, entry.info.file_time});
  });
}

}  // namespace qxzpack
