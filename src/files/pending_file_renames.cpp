#include "files/pending_file_renames.h"

#include <algorithm>

namespace qxi {
namespace {

constexpr std::wstring_view kReplaceMark = L"!";
constexpr std::wstring_view kNtNamePrefix = L"\\??\\";

// The name at `at` of `data`, up to its NUL or the end of the data; `at` moves past the NUL.
std::wstring_view NextName(std::wstring_view data, size_t& at) {
  const size_t end = std::min(data.find(L'\0', at), data.size());
  const std::wstring_view name = data.substr(at, end - at);
  at = end + 1;
  return name;
}

}  // namespace

std::vector<PendingFileRename> ParsePendingFileRenames(std::wstring_view data) {
  std::vector<PendingFileRename> renames;
  size_t at = 0;
  while (at < data.size()) {
    const std::wstring_view source = NextName(data, at);
    if (source.empty() || at >= data.size()) break;  // the end, or a source cut off
    renames.push_back({std::wstring(source), std::wstring(NextName(data, at))});
  }
  return renames;
}

std::wstring JoinPendingFileRenames(const std::vector<PendingFileRename>& renames) {
  std::wstring data;
  for (const PendingFileRename& rename : renames) {
    data.append(rename.source).push_back(L'\0');
    data.append(rename.destination).push_back(L'\0');
  }
  data.push_back(L'\0');
  return data;
}

std::vector<PendingFileRename> ReadPendingFileRenames(HKEY session_manager) {
  // The value may grow between the two calls: ask again until it fits.
  std::wstring data;
  DWORD size = 0;
  LONG result = ERROR_MORE_DATA;
  while (result == ERROR_MORE_DATA) {
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    result = RegQueryValueExW(session_manager, kPendingFileRenamesValue, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(&data[0]), &size);
  }
  if (result != ERROR_SUCCESS) return {};
  data.resize(size / sizeof(wchar_t));
  return ParsePendingFileRenames(data);
}

std::vector<PendingFileRename> ReadPendingFileRenames() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::vector<PendingFileRename> renames = ReadPendingFileRenames(key);
  RegCloseKey(key);
  return renames;
}

LONG WritePendingFileRenames(HKEY session_manager,
                             const std::vector<PendingFileRename>& renames) {
  if (renames.empty()) return RegDeleteValueW(session_manager, kPendingFileRenamesValue);
  const std::wstring data = JoinPendingFileRenames(renames);
  return RegSetValueExW(session_manager, kPendingFileRenamesValue, 0, REG_MULTI_SZ,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

std::string PathOfRecordedName(std::wstring_view name) {
  if (name.substr(0, kReplaceMark.size()) == kReplaceMark) name.remove_prefix(kReplaceMark.size());
  if (name.substr(0, kNtNamePrefix.size()) == kNtNamePrefix) {
    name.remove_prefix(kNtNamePrefix.size());
  }
  if (name.empty()) return "";
  const int length = WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string path(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), &path[0], length,
                        nullptr, nullptr);
  }
  return path;
}

}  // namespace qxi
