// Written with the registry's wide functions: the product's texts are UTF-8 in the setup and
// may hold characters outside the ANSI code page.
#include "uninstall_entry.h"

#include <windows.h>

#include <vector>

#include "stub_files.h"

namespace qxistub {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

#ifdef _WIN64
constexpr REGSAM kView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kView = 0;  // a 32-bit program is in the 32-bit view already
#endif

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], units);
  return wide;
}

HKEY RootOf(const qxibundle::BundleSettings& settings) {
  return settings.product.per_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::wstring KeyOf(const qxibundle::BundleSettings& settings) {
  return kUninstallKey + Wide(qxibundle::Utf8ToUtf16(settings.product.name, "the name"));
}

class EntryKey {
 public:
  explicit EntryKey(const qxibundle::BundleSettings& settings) {
    const LONG result = RegCreateKeyExW(RootOf(settings), KeyOf(settings).c_str(), 0, nullptr, 0,
                                        KEY_SET_VALUE | kView, nullptr, &key_, nullptr);
    if (result != ERROR_SUCCESS) {
      throw StubError(SystemFailure("cannot register the uninstaller", static_cast<DWORD>(result)));
    }
  }
  ~EntryKey() { RegCloseKey(key_); }
  void Text(const wchar_t* name, const std::wstring& value) {
    Check(RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
  }
  void Number(const wchar_t* name, DWORD value) {
    Check(RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof value));
  }

 private:
  static void Check(LONG result) {
    if (result != ERROR_SUCCESS) {
      throw StubError(SystemFailure("cannot register the uninstaller", static_cast<DWORD>(result)));
    }
  }
  HKEY key_ = nullptr;
};

}  // namespace

void WriteUninstallEntry(const qxibundle::BundleSettings& settings, const UninstallEntry& entry) {
  EntryKey key(settings);
  const std::wstring uninstaller = L"\"" + FromAnsi(entry.uninstaller) + L"\"";
  key.Text(L"DisplayName", Wide(qxibundle::Utf8ToUtf16(settings.product.name, "the name")));
  key.Text(L"DisplayVersion", Wide(qxibundle::Utf8ToUtf16(settings.product.version, "the version")));
  key.Text(L"Publisher", Wide(qxibundle::Utf8ToUtf16(settings.product.publisher, "the publisher")));
  key.Text(L"InstallLocation", FromAnsi(entry.install_location));
  key.Text(L"UninstallString", uninstaller);
  key.Text(L"QuietUninstallString", uninstaller + L" /S");
  if (entry.has_icon) key.Text(L"DisplayIcon", FromAnsi(entry.uninstaller) + L",0");
  key.Number(L"EstimatedSize", entry.estimated_size_kb);
  key.Number(L"NoModify", 1);
  key.Number(L"NoRepair", 1);
}

void DeleteUninstallEntry(const qxibundle::BundleSettings& settings) {
#ifdef _WIN64
  const LONG result = RegDeleteKeyExW(RootOf(settings), KeyOf(settings).c_str(), kView, 0);
#else
  const LONG result = RegDeleteKeyW(RootOf(settings), KeyOf(settings).c_str());
#endif
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
    throw StubError(SystemFailure("cannot delete the uninstall entry", static_cast<DWORD>(result)));
  }
}

}  // namespace qxistub
