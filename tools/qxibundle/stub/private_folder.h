// The run's private folder under the user's temporary folder: made new (never one that was
// there before, so nothing can be planted in it beforehand), readable and writable by the
// running user and the system only, and removed at the end, with what is still in use left
// for the next restart.
#pragma once

#include <string>

namespace qxistub {

class PrivateFolder {
 public:
  /// Makes the folder under a new random name. Throws StubError with the system's reason.
  PrivateFolder();
  /// Removes it, as Remove() does, when Remove() was not called.
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  /// The folder's full path, without a trailing backslash.
  const std::string& path() const { return path_; }

  /// Deletes every file and folder below the folder and the folder itself. What cannot be
  /// deleted now (a file still in use) is deleted at the next restart, with the folders that
  /// hold it. Returns the number of files and folders left for the restart.
  int Remove();

 private:
  std::string path_;
  bool removed_ = false;
};

}  // namespace qxistub
