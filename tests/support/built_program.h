// Test support: the programs of the build's bin folder, for tests that run them as a user
// would. A test target that includes this defines QXI_BIN_DIR (that folder, a Unix path).
#pragma once

#include <string>

namespace qxi_test {

/// The program of the build's bin folder named `name`, by its Windows name (Z: shows the Unix
/// root).
inline std::string BuiltProgram(const std::string& name) {
  std::string path = "Z:" QXI_BIN_DIR "/" + name;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace qxi_test
