#include "support/restart_records.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/disk_files.h"
#include "support/helper_processes.h"

namespace qxi_test {
namespace {

constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingValue[] = "PendingFileRenameOperations";

// The value's data, empty when it is missing.
std::string PendingData() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != 0) {
    return "";
  }
  DWORD size = 0;
  std::string data;
  if (RegQueryValueExA(key, kPendingValue, nullptr, nullptr, nullptr, &size) == 0) {
    data.assign(size, '\0');
    if (RegQueryValueExA(key, kPendingValue, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&data[0]), &size) != 0) {
      size = 0;
    }
    data.resize(size);
  }
  RegCloseKey(key);
  return data;
}

}  // namespace

std::vector<std::string> PendingFileRenameNames() {
  // Every name ends in a NUL; one more NUL closes the list.
  const std::string data = PendingData();
  std::vector<std::string> names;
  for (size_t at = 0; at < data.size();) {
    size_t end = data.find('\0', at);
    if (end == std::string::npos) end = data.size();
    names.push_back(data.substr(at, end - at));
    at = end + 1;
  }
  if (!names.empty() && names.back().empty()) names.pop_back();
  return names;
}

std::string NtName(const std::string& path) { return "\\??\\" + path; }

std::string ReplacingNtName(const std::string& path) { return "!" + NtName(path); }

void SetPendingFileRenameNames(const std::vector<std::string>& names) {
  std::string data;
  for (const std::string& name : names) data.append(name).push_back('\0');
  data.push_back('\0');
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key), 0);
  EXPECT_EQ(RegSetValueExA(key, kPendingValue, 0, REG_MULTI_SZ,
                           reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            0);
  RegCloseKey(key);
}

bool HasPendingFileRenames() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != 0) {
    return false;
  }
  const bool found = RegQueryValueExA(key, kPendingValue, nullptr, nullptr, nullptr, nullptr) == 0;
  RegCloseKey(key);
  return found;
}

std::string WininitPath() { return InWindows("WININIT.INI"); }

void ClearRestartRecords() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) == 0) {
    RegDeleteValueA(key, kPendingValue);
    RegCloseKey(key);
  }
  DeleteFileA(WininitPath().c_str());
  DeleteFileA(InWindows("wininit.bak").c_str());
}

void Restart() { EXPECT_EQ(RunProgram("wineboot.exe -r"), 0u); }

std::string ShortName(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? "" : std::string(buffer, length);
}

}  // namespace qxi_test
