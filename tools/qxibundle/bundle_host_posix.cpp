#include "bundle_host.h"

#include <filesystem>
#include <system_error>

namespace qxibundle {

std::string OwnFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

std::string ArgumentToUtf8(const std::string& argument) { return argument; }

}  // namespace qxibundle
