// The scripts the project has, for the differential test: script files as they are, the
// scripts written into the tests' C++ sources as string literals, and the ```ini blocks of
// the documentation.
#pragma once

#include <string>
#include <vector>

namespace qxi_differential {

/// The scripts that the file `name` with contents `bytes` holds: for a ".cpp" file, each run
/// of adjacent string literals (raw ones too) whose text has a line break and a '[' (decoded
/// as the compiler decodes it); for a ".md" file, each ```ini block; otherwise the file itself.
std::vector<std::string> ScriptsOfSeed(const std::string& name, const std::string& bytes);

}  // namespace qxi_differential
