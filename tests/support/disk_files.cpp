#include "support/disk_files.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace qxi_test {
namespace {

std::string TemporaryDirectory() {
  char buffer[MAX_PATH];
  return std::string(buffer, GetTempPathA(MAX_PATH, buffer));
}

}  // namespace

std::string InWindows(const std::string& name) {
  char buffer[MAX_PATH];
  UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  return std::string(buffer, length) + "\\" + name;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SystemText(unsigned long error) {
  char* text = nullptr;
  DWORD n = FormatMessageA(0x11FA, nullptr, error, 0x400, reinterpret_cast<char*>(&text), 0,
                           nullptr);
  std::string result = n != 0 ? std::string(text, n) : std::string();
  if (text != nullptr) LocalFree(text);
  return result;
}

std::vector<std::string> EngineTemporaryFiles() { return StagedCopiesIn(TemporaryDirectory()); }

std::vector<std::string> StagedCopiesIn(const std::string& folder) {
  const std::string prefix = folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((prefix + "QXI*.TMP").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back(prefix + data.cFileName);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  std::sort(found.begin(), found.end());
  return found;
}

void RemoveEngineTemporaryFiles() {
  for (const auto& file : EngineTemporaryFiles()) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
  }
}

}  // namespace qxi_test
