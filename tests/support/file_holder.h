// Test support: files held open by another process (the helper program hold_files, which
// must lie beside the test program), so that they can be neither opened, replaced nor
// deleted until released.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/unique_handle.h"

namespace qxi_test {

class FileHolder {
 public:
  /// Starts hold_files on `files` and waits until it holds them all (or has failed).
  explicit FileHolder(const std::vector<std::string>& files);
  ~FileHolder() { Release(); }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  /// True while every file is held.
  bool holding() const { return holding_; }

  /// Tells the helper to let go and waits until it has ended; returns its exit status.
  DWORD Release();

 private:
  qxi::UniqueKernelHandle ready_;
  qxi::UniqueKernelHandle release_;
  qxi::UniqueKernelHandle process_;
  bool holding_ = false;
};

}  // namespace qxi_test
