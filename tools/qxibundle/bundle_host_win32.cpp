#include "bundle_host.h"

#include <windows.h>

#include <vector>

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
  if (argument.empty()) return argument;
  const int size = static_cast<int>(argument.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, argument.data(), size, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(units));
  MultiByteToWideChar(CP_ACP, 0, argument.data(), size, wide.data(), units);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace qxibundle
