// MappedFile: a whole file mapped read-only into memory, the seam between the script engine
// and the system's file mapping (Win32 on Windows, POSIX in the native build).
#pragma once

#include <memory>

namespace qxi {

class MappedFile {
 public:
  /// Opens and maps the file at `path`. Never raises for a file that cannot be opened or
  /// mapped (an empty file cannot be mapped either): the object is then empty.
  explicit MappedFile(const char* path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  /// The mapped bytes; both null when nothing is mapped.
  const char* begin() const { return begin_; }
  const char* end() const { return end_; }

 private:
  struct Handles;  // the platform's handles, each owned by its RAII holder
  std::unique_ptr<Handles> handles_;
  const char* begin_ = nullptr;
  const char* end_ = nullptr;
};

}  // namespace qxi
