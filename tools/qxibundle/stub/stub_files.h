// Files for the stub: its own program file read as a ByteSource, new files written through
// the decoder's output and the bundle writer's sink, and the errors that say which file and
// why in the system's words.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "archive/byte_source.h"
#include "archive/qxz_entry_decoder.h"
#include "bundle_writer.h"
#include "engine/unique_handle.h"

namespace qxistub {

/// A failure of the stub, with its reason in words; shown to the person and logged.
class StubError : public std::exception {
 public:
  explicit StubError(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;
};

/// "WHAT: the system's text (error N)" for Win32 error `code`.
std::string SystemFailure(const std::string& what, DWORD code);

/// The path of the running program.
std::string OwnPath();

/// A file opened for reading, others may read it too. Throws StubError when it cannot be
/// opened, read or positioned.
class ReadFileSource : public qxi::ByteSource {
 public:
  explicit ReadFileSource(const std::string& path);
  size_t Read(void* buffer, size_t count) override;
  uint64_t Tell() const override { return position_; }
  void Seek(uint64_t offset) override;
  uint64_t Size() const override { return size_; }

 private:
  std::string path_;
  qxi::UniqueFileHandle file_;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

/// A file written afresh: fails if it exists when `must_be_new` (a private folder holds only
/// what the stub put there), else replaces it. Throws StubError naming it on any failure.
class OutputFile final : public qxi::QxzOutput, public qxibundle::BundleSink {
 public:
  OutputFile(const std::string& path, bool must_be_new);
  void Write(const char* data, size_t size) override;
  void Append(const uint8_t* data, size_t size) override;
  void Overwrite(uint64_t offset, const uint8_t* data, size_t size) override;
  /// Closes the file, throwing when the system reports a failure of the last writes.
  void Close();

 private:
  std::string path_;
  qxi::UniqueFileHandle file_;
};

/// Writes `path` whole or not at all: `fill` writes `path`.part, which then replaces `path`
/// (an earlier file stays as it was when anything fails, and the partial file goes). Throws
/// StubError naming the file, or what `fill` throws.
void WriteThenReplace(const std::string& path, const std::function<void(OutputFile&)>& fill);

/// Makes every folder of `relative` (backslashes between parts, the last part a file name)
/// below `base`. Throws StubError naming a folder that cannot be made.
void MakeFoldersFor(const std::string& base, const std::string& relative);

}  // namespace qxistub
