// Test support for Windows tests: files on disk written, read and looked for directly, so
// that tests see what the engine really left behind.
#pragma once

#include <string>
#include <vector>

namespace qxi_test {

/// The Windows directory joined with `name` ("" gives the directory with a backslash).
std::string InWindows(const std::string& name);

/// Replaces the file at `path` with exactly `text`.
void WriteText(const std::string& path, const std::string& text);

/// The whole content of the file at `path`; empty when it cannot be read.
std::string ReadText(const std::string& path);

/// True when a file or directory is at `path`.
bool Exists(const std::string& path);

/// The system's text for `error` as the engine's wrappers ask for it (flags 0x11FA).
std::string SystemText(unsigned long error);

/// Full paths of the engine's temporary files ("QXI*.TMP" in the temporary directory), sorted.
std::vector<std::string> EngineTemporaryFiles();

/// Full paths of the engine's staged copies in `folder` ("QXI*.TMP" beside the files they
/// are to replace at the restart), sorted.
std::vector<std::string> StagedCopiesIn(const std::string& folder);

/// Deletes every file "QXI*.TMP" of the temporary directory (read-only ones too).
void RemoveEngineTemporaryFiles();

}  // namespace qxi_test
