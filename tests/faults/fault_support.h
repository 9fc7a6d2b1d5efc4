// Test support for the fault tests: the system's own error texts, the engine's temporary
// files in the temporary directory, and file contents that differ from one seed to another.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qxi_test {

/// The system's text for `error` as the engine's wrappers ask for it (flags 0x11FA).
std::string SystemText(DWORD error);

/// Full paths of the files "QXI*.TMP" in the temporary directory, sorted.
std::vector<std::string> EngineTemporaryFiles();

/// Deletes every file "QXI*.TMP" of the temporary directory (read-only ones too).
void RemoveEngineTemporaryFiles();

/// `size` bytes that differ from one `seed` to another and compress poorly.
std::string Noise(size_t size, unsigned seed);

}  // namespace qxi_test
