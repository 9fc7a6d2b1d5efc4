// Test support: other processes a Windows test needs, namely a program run to its end (such
// as wineboot for a simulated restart) and the helper hold_files, which keeps files open so
// that they cannot be written, replaced or deleted.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/unique_handle.h"

namespace qxi_test {

/// Runs `command_line` in the Windows directory, waits for its end and returns its exit
/// status (all bits set, with a test failure added, when it cannot be started).
DWORD RunProgram(std::string command_line);

/// What a program wrote and how it ended.
struct ProgramRun {
  DWORD status = ~DWORD{0};
  std::string out;  // standard output, CR LF line ends turned into LF
  std::string err;  // standard error, the same
};

/// RunProgram with the program's standard output and error caught (through files of the
/// temporary directory, which Wine's background processes cannot hold open as they can a
/// pipe).
ProgramRun RunProgramWithOutput(std::string command_line);

/// The helper program hold_files (next to the test program), holding files open with share
/// mode 0 until Release.
class FileHolder {
 public:
  /// Starts the helper and waits until it holds every file of `files` or has ended.
  explicit FileHolder(const std::vector<std::string>& files);
  ~FileHolder() { Release(); }
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  /// True while the helper holds every file.
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
