// What qxzpack takes from a source file and gives back to an extracted one: Win32 attribute
// flags and a FILETIME. Windows reads and sets the real ones; elsewhere they are derived
// from the permission bits and the modification time.
#pragma once

#include <cstdint>
#include <string>

namespace qxzpack {

/// Win32 attribute flags qxzpack uses on every platform.
constexpr uint32_t kAttributeReadOnly = 0x01;
constexpr uint32_t kAttributeHidden = 0x02;
constexpr uint32_t kAttributeSystem = 0x04;
constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeArchive = 0x20;
constexpr uint32_t kAttributeNormal = 0x80;

struct FileMetadata {
  uint32_t attributes = kAttributeArchive;
  uint64_t file_time = 0;  ///< last write time, 100 ns since 1601-01-01 UTC
};

/// The attributes and last write time of the file at path. Throws std::runtime_error naming
/// the file when they cannot be read.
FileMetadata ReadFileMetadata(const std::string& path);

/// Gives an extracted file its entry's time and attributes, as the engine does: on Windows
/// the time becomes the creation and last-access time; elsewhere it becomes the access and
/// modification time, and read-only clears the write permissions. Throws std::runtime_error
/// naming the file when the time cannot be set; attributes are best effort.
void ApplyFileMetadata(const std::string& path, const FileMetadata& metadata);

/// Makes the file at path writable and removes it; false when it could not be removed.
bool RemoveFileForcibly(const std::string& path);

/// True when standard error is a terminal.
bool StderrIsTerminal();

}  // namespace qxzpack
