// IniFile: one profile file in the Windows directory, such as the 95 family's restart-actions
// file WININIT.INI. Nothing is cached: every operation goes through the profile functions.
#pragma once

#include <string>

namespace qxi {

/// The Windows directory as the system reports it (C:\WINDOWS, or C:\ at a drive root).
std::string WindowsDirectory();

class IniFile {
 public:
  /// The profile file `name` in the Windows directory.
  explicit IniFile(const std::string& name);
  virtual ~IniFile() = default;

  /// The file's full path, fixed at construction.
  const std::string& path() const { return path_; }

  /// Adds `line` to `section` unless an equal line (ignoring ASCII case) is there; keeps any
  /// number of lines with the same key. The section is read whole, however large. Returns
  /// false when the write failed (its error is the last error).
  bool AddLine(const std::string& section, const std::string& line) const;

  /// Writes `key`=`value` into `section`, replacing the key's line when present. Returns
  /// the platform's answer: false when the write failed.
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) const;

  /// The whole value of `key` in `section`; empty when the key is absent.
  std::string GetString(const std::string& section, const std::string& key) const;

 private:
  std::string path_;
};

}  // namespace qxi
