// Mapping a script with CreateFileA, CreateFileMappingA and MapViewOfFile.
#include "engine/mapped_file.h"

#include "engine/unique_handle.h"

namespace qxi {

struct MappedFile::Handles {
  UniqueFileHandle file;
  UniqueKernelHandle mapping;
  UniqueMappedView view;  // declared last: unmapped first
};

MappedFile::MappedFile(const char* path) {
  if (path == nullptr) return;
  auto handles = std::make_unique<Handles>();
  handles->file.reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handles->file) return;
  handles->mapping.reset(CreateFileMappingA(handles->file.get(), nullptr,
                                            PAGE_READONLY | SEC_COMMIT, 0, 0, nullptr));
  if (!handles->mapping) return;
  handles->view.reset(MapViewOfFile(handles->mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!handles->view) return;
  // A script of 4 GB or more cannot be walked with 32-bit positions: it counts as not opened.
  DWORD high = 0;
  DWORD size = GetFileSize(handles->file.get(), &high);
  if ((size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0) return;
  begin_ = static_cast<const char*>(handles->view.get());
  end_ = begin_ + size;
  handles_ = std::move(handles);
}

MappedFile::~MappedFile() = default;

}  // namespace qxi
