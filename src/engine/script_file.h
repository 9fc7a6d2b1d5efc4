// ScriptFile: an opened script, mapped whole and read in place; finds sections by name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/mapped_file.h"
#include "engine/section_index.h"

namespace qxi {

class ScriptFile {
 public:
  /// Opens and maps the script at `path`. Never raises for a file that cannot be opened
  /// (missing, unreadable or empty): the object is then closed.
  explicit ScriptFile(const char* path);
  virtual ~ScriptFile();
  ScriptFile(const ScriptFile&) = delete;
  ScriptFile& operator=(const ScriptFile&) = delete;

  bool IsOpen() const { return text_end() != nullptr; }
  const char* text_begin() const { return map_.begin(); }
  const char* text_end() const { return map_.end(); }
  /// The path as the opener gave it; empty when the file is closed.
  const std::string& path() const { return path_; }

  /// The first character of the body of section `name` (the text from the start of the file
  /// for an empty name). Raises QXErr kSectionNotFound when the script has no such section.
  /// Headers are read once per opened script, as far as lookups need them.
  const char* FindSection(std::string_view name) const;

  /// Every header line FindSection looks at, in file order, later ones of a name included.
  std::vector<SectionIndex::Header> Headers() const { return sections_.All(); }

 private:
  MappedFile map_;
  std::string path_;
  mutable SectionIndex sections_;  // filled by lookups; the text it reads never changes
};

}  // namespace qxi
