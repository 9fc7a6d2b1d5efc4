// Files for qxzpack: an archive opened as a ByteSource, and whole-file reading and writing
// with errors that name the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "archive/byte_source.h"

namespace qxzpack {

/// Owns a C stream; closes it without looking at the result (write paths call CloseChecked).
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

/// Opens path with mode; throws std::runtime_error naming the file on failure.
UniqueFile OpenFile(const std::string& path, const char* mode);

/// Writes size bytes; throws std::runtime_error naming path on failure.
void WriteAll(std::FILE* file, const void* data, size_t size, const std::string& path);

/// Flushes and closes *file, throwing std::runtime_error naming path when either fails.
void CloseChecked(UniqueFile* file, const std::string& path);

/// The whole content of the file at path; throws std::runtime_error naming it on failure.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

/// An archive file read through a C stream.
class ArchiveFileSource : public qxi::ByteSource {
 public:
  /// Opens path for reading; throws std::runtime_error naming it when it cannot.
  explicit ArchiveFileSource(const std::string& path);

  /// Throws std::runtime_error naming the archive on a read error (not at the end).
  size_t Read(void* buffer, size_t count) override;
  uint64_t Tell() const override { return position_; }
  void Seek(uint64_t offset) override;
  uint64_t Size() const override { return size_; }

 private:
  std::string path_;
  UniqueFile file_;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

}  // namespace qxzpack
