// ByteSource: the positioned, sized input the archive reader works on. The engine puts its
// file wrapper behind it; the tools and tests use files and memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qxi {

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  /// Reads up to count bytes at the position and advances past them; returns how many were
  /// read, 0 at the end. Throws the source's own error when the read fails.
  virtual size_t Read(void* buffer, size_t count) = 0;

  /// Reads exactly count bytes. This default raises NCompress::Except kErrorFileCorrupt when
  /// the data ends first (the position is then somewhere in between); sources with an error
  /// kind of their own may raise that instead.
  virtual void ReadExact(void* buffer, size_t count);

  /// The read position, in bytes from the start.
  virtual uint64_t Tell() const = 0;

  /// Moves the read position to offset (which may lie past the end: reads then give 0).
  virtual void Seek(uint64_t offset) = 0;

  /// The total size in bytes.
  virtual uint64_t Size() const = 0;
};

/// A ByteSource over bytes in memory, which it does not own: they must outlive it.
class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit MemoryByteSource(const std::vector<uint8_t>& bytes)
      : MemoryByteSource(bytes.data(), bytes.size()) {}
  /// A temporary vector would be gone before the first read.
  explicit MemoryByteSource(std::vector<uint8_t>&&) = delete;

  size_t Read(void* buffer, size_t count) override;
  uint64_t Tell() const override { return position_; }
  void Seek(uint64_t offset) override { position_ = offset; }
  uint64_t Size() const override { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  uint64_t position_ = 0;
};

}  // namespace qxi
