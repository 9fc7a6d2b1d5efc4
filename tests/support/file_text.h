// Test support: what a file holds and where the Windows directory is, asked directly of the
// system, so that tests see the real effect of a command.
#pragma once

#include <string>

namespace qxi_test {

/// `name` in the Windows directory.
std::string InWindows(const std::string& name);

/// The whole contents of the file at `path`; empty when it cannot be read.
std::string ReadText(const std::string& path);

/// True when the system has attributes for `path` (a file or a directory).
bool Exists(const std::string& path);

}  // namespace qxi_test
