#include "files/ini_file.h"

#include <windows.h>

#include "engine/read_until_complete.h"
#include "files/path_utils.h"
#include "ini/profile_lines.h"

namespace qxi {

std::string WindowsDirectory() {
  return ReadUntilComplete(MAX_PATH, 0, [](char* buffer, size_t size) {
    return size_t{GetWindowsDirectoryA(buffer, static_cast<UINT>(size))};
  });
}

IniFile::IniFile(const std::string& name) : path_(JoinPath(WindowsDirectory(), name)) {}

bool IniFile::AddLine(const std::string& section, const std::string& line) const {
  return AddProfileLine(path_, section, line);
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                    path_.c_str()) != FALSE;
}

std::string IniFile::GetString(const std::string& section, const std::string& key) const {
  return ReadProfileValue(path_, section, key);
}

}  // namespace qxi
