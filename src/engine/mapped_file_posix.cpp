// Mapping a script with open and mmap, for the native build.
#include "engine/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qxi {

struct MappedFile::Handles {
  int fd = -1;
  void* view = MAP_FAILED;
  size_t size = 0;
  ~Handles() {
    if (view != MAP_FAILED) munmap(view, size);
    if (fd >= 0) close(fd);
  }
};

MappedFile::MappedFile(const char* path) {
  if (path == nullptr) return;
  auto handles = std::make_unique<Handles>();
  handles->fd = open(path, O_RDONLY);
  if (handles->fd < 0) return;
  struct stat info;
  if (fstat(handles->fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0 ||
      info.st_size > 0xFFFFFFFFll) {
    return;
  }
  handles->size = static_cast<size_t>(info.st_size);
  handles->view = mmap(nullptr, handles->size, PROT_READ, MAP_PRIVATE, handles->fd, 0);
  if (handles->view == MAP_FAILED) return;
  begin_ = static_cast<const char*>(handles->view);
  end_ = begin_ + handles->size;
  handles_ = std::move(handles);
}

MappedFile::~MappedFile() = default;

}  // namespace qxi
