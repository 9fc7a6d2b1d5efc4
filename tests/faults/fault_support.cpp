// The fault tests' helpers: system texts, the engine's temporary files, test data.
#include "faults/fault_support.h"

#include <algorithm>

namespace qxi_test {
namespace {

std::string TemporaryDirectory() {
  char buffer[MAX_PATH];
  return std::string(buffer, GetTempPathA(MAX_PATH, buffer));
}

}  // namespace

std::string SystemText(DWORD error) {
  char* text = nullptr;
  DWORD n = FormatMessageA(0x11FA, nullptr, error, 0x400, reinterpret_cast<char*>(&text), 0,
                           nullptr);
  std::string result = n != 0 ? std::string(text, n) : std::string();
  if (text != nullptr) LocalFree(text);
  return result;
}

std::vector<std::string> EngineTemporaryFiles() {
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((TemporaryDirectory() + "QXI*.TMP").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back(TemporaryDirectory() + data.cFileName);
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

std::string Noise(size_t size, unsigned seed) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245 + 12345;
    bytes.push_back(static_cast<char>(seed >> 24));
  }
  return bytes;
}

}  // namespace qxi_test
