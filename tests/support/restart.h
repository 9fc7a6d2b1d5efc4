// Test support for deferred operations: paths in the Windows directory (where WININIT.INI
// lies), a helper process that holds files open so that they cannot be written, replaced or
// deleted, and programs run to completion, such as the simulated restart "wineboot.exe -r".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/unique_handle.h"

namespace qxi_test {

/// `name` in the Windows directory.
std::string InWindows(const char* name);

/// The whole contents of the file at `path`; empty when it cannot be read.
std::string ReadText(const std::string& path);

/// Runs `command_line` in the Windows directory, waits for its end and returns its exit
/// status (all bits set, with a test failure added, when it cannot be started).
DWORD RunProgram(std::string command_line);

/// The helper program hold_files (beside the test program), holding `files` open for reading
/// and writing with share mode 0 from its start until Release.
class FileHolder {
 public:
  explicit FileHolder(const std::vector<std::string>& files);
  ~FileHolder() { Release(); }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  /// True once every file is held.
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
