#include "bundle_host.h"

#include <windows.h>

#include "code_pages.h"

namespace qxibundle {

std::string OwnFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string folder(path, length);
  const size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

std::string ArgumentToUtf8(const std::string& argument) {
  return Recode(argument, CP_ACP, CP_UTF8);
}

}  // namespace qxibundle
