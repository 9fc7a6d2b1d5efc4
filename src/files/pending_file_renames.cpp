#include "files/pending_file_renames.h"

#include <algorithm>

namespace qxi {
namespace {

constexpr std::string_view kReplaceMark = "!";
constexpr std::string_view kNtNamePrefix = "\\??\\";

// Wide text in another code page. The names are kept in UTF-8 rather than in std::wstring,
// whose out-of-line code the DLL would have to carry for these few names.
std::string Narrow(std::wstring_view wide, UINT code_page) {
  if (wide.empty()) return "";
  const int length = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                        length, nullptr, nullptr);
  }
  return text;
}

// Appends the UTF-8 `text` to `wide`, as wide characters.
void AppendWide(std::string_view text, std::vector<wchar_t>& wide) {
  if (text.empty()) return;
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  if (length <= 0) return;
  const size_t at = wide.size();
  wide.resize(at + static_cast<size_t>(length));
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[at], length);
}

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
    const std::wstring_view destination = NextName(data, at);
    renames.push_back({Narrow(source, CP_UTF8), Narrow(destination, CP_UTF8)});
  }
  return renames;
}

std::vector<wchar_t> JoinPendingFileRenames(const std::vector<PendingFileRename>& renames) {
  std::vector<wchar_t> data;
  for (const PendingFileRename& rename : renames) {
    AppendWide(rename.source, data);
    data.push_back(L'\0');
    AppendWide(rename.destination, data);
    data.push_back(L'\0');
  }
  data.push_back(L'\0');
  return data;
}

std::vector<PendingFileRename> ReadPendingFileRenames(HKEY session_manager) {
  // The value may grow between the two calls: ask again until it fits.
  std::vector<wchar_t> data;
  DWORD size = 0;
  LONG result = ERROR_MORE_DATA;
  while (result == ERROR_MORE_DATA) {
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    result = RegQueryValueExW(session_manager, kPendingFileRenamesValue, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(data.data()), &size);
  }
  if (result != ERROR_SUCCESS) return {};
  return ParsePendingFileRenames(std::wstring_view(data.data(), size / sizeof(wchar_t)));
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
  const std::vector<wchar_t> data = JoinPendingFileRenames(renames);
  return RegSetValueExW(session_manager, kPendingFileRenamesValue, 0, REG_MULTI_SZ,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

std::string PathOfRecordedName(std::string_view name) {
  if (name.substr(0, kReplaceMark.size()) == kReplaceMark) name.remove_prefix(kReplaceMark.size());
  if (name.substr(0, kNtNamePrefix.size()) == kNtNamePrefix) {
    name.remove_prefix(kNtNamePrefix.size());
  }
  std::vector<wchar_t> wide;
  AppendWide(name, wide);
  return Narrow(std::wstring_view(wide.data(), wide.size()), CP_ACP);
}

}  // namespace qxi
