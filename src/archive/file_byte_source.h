// FileByteSource: an open archive File seen as the ByteSource the QXZ reader works on, read
// through a buffer of 64 KB: an entry's header, its name byte by byte and the decoder's
// 2048-byte reads come from memory, and the file is read in a few large calls.
#pragma once

#include <cstdint>
#include <memory>

#include "archive/byte_source.h"
#include "files/file.h"

namespace qxi {

/// Reads the File it borrows (which must outlive it, and which no one else moves while this
/// reads it) through the ByteSource interface, from the File's position when it was made.
/// Read errors are the File's own: File::Except with the Win32 error, and File::Except 1392
/// when ReadExact finds the file ending first. Sizes and positions are those of the File
/// wrapper: 32 bits, and Seek reaches up to 2 GB (the wrapper moves by a signed distance).
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(File& file);

  size_t Read(void* buffer, size_t count) override;
  void ReadExact(void* buffer, size_t count) override;
  uint64_t Tell() const override { return buffer_start_ + next_; }
  void Seek(uint64_t offset) override;
  uint64_t Size() const override { return file_.Size(); }

 private:
  static constexpr uint32_t kBufferSize = 64 * 1024;

  File& file_;
  std::unique_ptr<char[]> buffer_;
  uint64_t buffer_start_;  // the file position of buffer_[0]
  uint32_t next_ = 0;      // the next byte to hand out
  uint32_t filled_ = 0;    // bytes of the file in buffer_
};

}  // namespace qxi
