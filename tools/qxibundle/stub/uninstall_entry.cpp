// Written with the registry's wide functions: the product's texts are UTF-8 in the setup and
// may hold characters outside the ANSI code page.
#include "uninstall_entry.h"

#include <windows.h>

#include "code_pages.h"
#include "stub_files.h"
#include "utf16_text.h"

namespace qxistub {
namespace {

constexpr char16_t kUninstallKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

#ifdef _WIN64
constexpr REGSAM kView = KEY_WOW64_32KEY;
#else
constexpr REGSAM kView = 0;  // a 32-bit program is in the 32-bit view already
#endif

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string FromAnsi(const std::string& text) { return qxibundle::ToUtf16(text, CP_ACP); }

std::u16string FromUtf8(const std::string& text, const char* what) {
  return qxibundle::Utf8ToUtf16(text, what);
}

HKEY RootOf(const qxibundle::BundleSettings& settings) {
  return settings.product.per_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::u16string KeyOf(const qxibundle::BundleSettings& settings) {
  return kUninstallKey + FromUtf8(settings.product.name, "the name");
}

class EntryKey {
 public:
  explicit EntryKey(const qxibundle::BundleSettings& settings) {
    const LONG result = RegCreateKeyExW(RootOf(settings), Wide(KeyOf(settings)), 0, nullptr, 0,
                                        KEY_SET_VALUE | kView, nullptr, &key_, nullptr);
    if (result != ERROR_SUCCESS) {
      throw StubError(SystemFailure("cannot register the uninstaller", static_cast<DWORD>(result)));
    }
  }
  ~EntryKey() { RegCloseKey(key_); }
  void Text(const wchar_t* name, const std::u16string& value) {
    Check(RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(char16_t))));
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
  const std::u16string uninstaller = u"\"" + FromAnsi(entry.uninstaller) + u"\"";
  key.Text(L"DisplayName", FromUtf8(settings.product.name, "the name"));
  key.Text(L"DisplayVersion", FromUtf8(settings.product.version, "the version"));
  key.Text(L"Publisher", FromUtf8(settings.product.publisher, "the publisher"));
  key.Text(L"InstallLocation", FromAnsi(entry.install_location));
  key.Text(L"UninstallString", uninstaller);
  key.Text(L"QuietUninstallString", uninstaller + u" /S");
  if (entry.has_icon) key.Text(L"DisplayIcon", FromAnsi(entry.uninstaller) + u",0");
  key.Number(L"EstimatedSize", entry.estimated_size_kb);
  key.Number(L"NoModify", 1);
  key.Number(L"NoRepair", 1);
}

void DeleteUninstallEntry(const qxibundle::BundleSettings& settings) {
#ifdef _WIN64
  const LONG result = RegDeleteKeyExW(RootOf(settings), Wide(KeyOf(settings)), kView, 0);
#else
  const LONG result = RegDeleteKeyW(RootOf(settings), Wide(KeyOf(settings)));
#endif
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
    throw StubError(SystemFailure("cannot delete the uninstall entry", static_cast<DWORD>(result)));
  }
}

}  // namespace qxistub
