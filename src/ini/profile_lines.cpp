#include "ini/profile_lines.h"

#include <windows.h>

#include <string_view>

#include "engine/folder_macros.h"
#include "engine/full_path.h"
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

// Calls `visit` with each line of a list of NUL-ended lines until it answers true; returns
// the offset of that line in the list, or npos.
template <typename Visit>
size_t FindInList(std::string_view list, Visit visit) {
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find('\0', start);
    if (end == std::string_view::npos) end = list.size();
    if (visit(list.substr(start, end - start))) return start;
    start = end + 1;
  }
  return std::string_view::npos;
}

size_t FindLine(std::string_view list, std::string_view line) {
  return FindInList(list, [&](std::string_view candidate) { return NamesEqual(candidate, line); });
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
  if (FindLine(list, line) != std::string::npos) return true;
  // The new line with its NUL, then the NUL that closes the list.
  list.append(line.c_str(), line.size() + 1);
  list.push_back('\0');
  return WritePrivateProfileSectionA(section.c_str(), list.c_str(), file.c_str()) != FALSE;
}

bool RemoveProfileLine(const std::string& file, const std::string& section,
                       const std::string& line) {
  std::string list = ReadProfileSection(file, section);
  const size_t start = FindLine(list, line);
  if (start == std::string::npos) return false;
  list.erase(start, line.size() + 1);
  if (list.empty()) {
    // An empty list writes nothing: the section's only line is deleted as a key would be.
    const size_t mark = line.find('=');
    const std::string key = line.substr(0, mark);
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) !=
           FALSE;
  }
  list.push_back('\0');
  return WritePrivateProfileSectionA(section.c_str(), list.c_str(), file.c_str()) != FALSE;
}

bool SectionHoldsLine(std::string_view lines, std::string_view line) {
  return FindLine(lines, line) != std::string_view::npos;
}

std::optional<std::string> ValueInSection(std::string_view lines, std::string_view key) {
  std::optional<std::string> value;
  FindInList(lines, [&](std::string_view line) {
    const size_t mark = line.find('=');
    if (mark == std::string_view::npos || !NamesEqual(line.substr(0, mark), key)) return false;
    value.emplace(line.substr(mark + 1));
    return true;
  });
  return value;
}

bool SectionExists(const std::string& file, const std::string& section) {
  const std::string names = ReadUntilComplete(kSectionBuffer, kSectionSlack,
                                               [&](char* buffer, size_t size) {
    return size_t{GetPrivateProfileSectionNamesA(buffer, static_cast<DWORD>(size), file.c_str())};
  });
  return FindLine(names, section) != std::string::npos;
}

std::string ProfileFilePath(const std::string& file) {
  if (file.find_first_of("\\/:") == std::string::npos) {
    return ResolveFolder(kWinDir) + "\\" + file;
  }
  return FullPathOf(file);
}

}  // namespace qxi
