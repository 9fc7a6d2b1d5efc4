#include "archive/file_byte_source.h"

namespace qxi {

size_t FileByteSource::Read(void* buffer, size_t count) {
  return file_.Read(buffer, static_cast<uint32_t>(count));
}

void FileByteSource::ReadExact(void* buffer, size_t count) {
  file_.ReadExact(buffer, static_cast<uint32_t>(count));
}

void FileByteSource::Seek(uint64_t offset) {
  file_.Seek(static_cast<int32_t>(offset), FILE_BEGIN);
}

}  // namespace qxi
