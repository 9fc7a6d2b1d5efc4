#include "code_pages.h"

#include <windows.h>

namespace qxibundle {

std::u16string ToUtf16(const std::string& text, unsigned from) {
  if (text.empty()) return std::u16string();
  const int size = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  std::u16string wide(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(from, 0, text.data(), size, reinterpret_cast<wchar_t*>(&wide[0]), units);
  return wide;
}

std::string Recode(const std::string& text, unsigned from, unsigned to) {
  const std::u16string wide = ToUtf16(text, from);
  if (wide.empty()) return std::string();
  const wchar_t* units = reinterpret_cast<const wchar_t*>(wide.data());
  const int count = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(to, 0, units, count, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, units, count, &out[0], bytes, nullptr, nullptr);
  return out;
}

}  // namespace qxibundle
