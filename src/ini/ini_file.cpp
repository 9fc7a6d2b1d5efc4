#include "ini/ini_file.h"

#include <windows.h>

#include "files/path_utils.h"
#include "ini/profile_lines.h"

namespace qxi {

std::string WindowsDirectory() {
  std::string directory(MAX_PATH, '\0');
  UINT length = GetWindowsDirectoryA(&directory[0], static_cast<UINT>(directory.size()));
  if (length >= directory.size()) {
    // Too small: the answer is the size needed, its NUL included.
    directory.assign(length, '\0');
    length = GetWindowsDirectoryA(&directory[0], length);
    if (length >= directory.size()) length = 0;
  }
  directory.resize(length);
  return directory;
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
