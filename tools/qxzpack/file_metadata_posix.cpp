#include "file_metadata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace qxzpack {
namespace {

// FILETIME counts 100 ns from 1601-01-01; Unix time counts seconds from 1970-01-01.
constexpr int64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;

[[noreturn]] void RaiseErrno(const char* what, const std::string& path) {
  throw std::runtime_error(path + ": " + what + ": " + std::strerror(errno));
}

timespec ToTimespec(uint64_t file_time) {
  const int64_t ticks = static_cast<int64_t>(file_time);
  timespec t{};
  t.tv_sec = static_cast<time_t>(ticks / kFileTimeTicksPerSecond - kSecondsFrom1601To1970);
  t.tv_nsec = static_cast<long>(ticks % kFileTimeTicksPerSecond * 100);
  return t;
}

}  // namespace

FileMetadata ReadFileMetadata(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) RaiseErrno("cannot read attributes", path);
  FileMetadata metadata;
  metadata.attributes = kAttributeArchive;
  if ((st.st_mode & S_IWUSR) == 0) metadata.attributes |= kAttributeReadOnly;
  const int64_t seconds = static_cast<int64_t>(st.st_mtim.tv_sec) + kSecondsFrom1601To1970;
  // Times before 1601 have no FILETIME: they become its zero.
  const int64_t ticks = seconds * kFileTimeTicksPerSecond + st.st_mtim.tv_nsec / 100;
  metadata.file_time = ticks < 0 ? 0 : static_cast<uint64_t>(ticks);
  return metadata;
}

void ApplyFileMetadata(const std::string& path, const FileMetadata& metadata) {
  const timespec times[2] = {ToTimespec(metadata.file_time), ToTimespec(metadata.file_time)};
  if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) RaiseErrno("cannot set file time", path);
  if (metadata.attributes & kAttributeReadOnly) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
      chmod(path.c_str(), st.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH));
    }
  }
}

bool RemoveFileForcibly(const std::string& path) {
  chmod(path.c_str(), S_IRUSR | S_IWUSR);
  return unlink(path.c_str()) == 0;
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace qxzpack
