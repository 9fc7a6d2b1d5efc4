#include "ini/profile_lines.h"

#include <windows.h>

#include <string_view>

#include "engine/read_until_complete.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

// First buffer sizes: a value of up to 255 characters and a section of up to 32000 bytes
// are read in one call; larger ones are read again with larger buffers.
constexpr size_t kValueBuffer = 256;
constexpr size_t kSectionBuffer = 32000;
constexpr DWORD kProbeBuffer = 3;

// A cut value is answered with the buffer size less one, a cut section list with the buffer
// size less two.
constexpr size_t kValueSlack = 1;
constexpr size_t kSectionSlack = 2;

bool ListHoldsLine(std::string_view list, std::string_view line) {
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\0', start);
    if (end == std::string_view::npos) end = list.size();
    if (NamesEqual(list.substr(start, end - start), line)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::string ReadProfileValue(const std::string& file, const std::string& section,
                             const std::string& key) {
  return ReadUntilComplete(kValueBuffer, kValueSlack, [&](char* buffer, size_t size) {
    return size_t{GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                           static_cast<DWORD>(size), file.c_str())};
  });
}

std::string ReadProfileSection(const std::string& file, const std::string& section) {
  return ReadUntilComplete(kSectionBuffer, kSectionSlack, [&](char* buffer, size_t size) {
    return size_t{GetPrivateProfileSectionA(section.c_str(), buffer, static_cast<DWORD>(size),
                                            file.c_str())};
  });
}

bool SectionHasLines(const std::string& file, const std::string& section) {
  char probe[kProbeBuffer];
  return GetPrivateProfileSectionA(section.c_str(), probe, kProbeBuffer, file.c_str()) != 0;
}

bool AddProfileLine(const std::string& file, const std::string& section,
                    const std::string& line) {
  std::string list = ReadProfileSection(file, section);
  if (ListHoldsLine(list, line)) return true;
  // The new line with its NUL, then the NUL that closes the list.
  list.append(line.c_str(), line.size() + 1);
  list.push_back('\0');
  return WritePrivateProfileSectionA(section.c_str(), list.c_str(), file.c_str()) != FALSE;
}

}  // namespace qxi
