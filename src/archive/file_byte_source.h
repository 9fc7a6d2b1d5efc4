// FileByteSource: an open archive File seen as the ByteSource the QXZ reader works on.
#pragma once

#include "archive/byte_source.h"
#include "files/file.h"

namespace qxi {

/// Reads the File it borrows (which must outlive it) through the ByteSource interface.
/// Read errors are the File's own: File::Except with the Win32 error, and File::Except 1392
/// when ReadExact finds the file ending first. Sizes and positions are those of the File
/// wrapper: 32 bits, and Seek reaches up to 2 GB (the wrapper moves by a signed distance).
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(File& file) : file_(file) {}

  size_t Read(void* buffer, size_t count) override;
  void ReadExact(void* buffer, size_t count) override;
  uint64_t Tell() const override { return file_.Tell(); }
  void Seek(uint64_t offset) override;
  uint64_t Size() const override { return file_.Size(); }

 private:
  File& file_;
};

}  // namespace qxi
