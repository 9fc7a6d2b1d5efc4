#include "ini/ini_commands.h"

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/qx_err.h"
#include "engine/unique_handle.h"
#include "ini/profile_lines.h"

namespace qxi {
namespace ini_commands {
namespace {

// An empty list: only the NUL that closes it.
constexpr char kNoLines[] = "";

// The profile functions pass each text on as a counted string of at most 32,766 characters.
// A longer one cannot be passed: the conversion fails, and some versions of the functions
// then go on with a text that is not there (Wine's fault on an unreadable address). Such a
// line is refused before anything is read or written.
constexpr size_t kLongestProfileText = 32766;

void CheckProfileText(const std::string& text) {
  if (text.size() > kLongestProfileText) throw QXErr(kRunTimeError, ERROR_INVALID_PARAMETER);
}

// The file name is a path, which the profile functions take up to MAX_PATH - 1 characters
// long; Wine's fault on longer ones (a few thousand characters), so they are refused as well.
void CheckProfileTexts(const std::string& file, std::initializer_list<const std::string*> texts) {
  if (file.size() >= MAX_PATH) throw QXErr(kRunTimeError, ERROR_INVALID_PARAMETER);
  for (const std::string* text : texts) CheckProfileText(*text);
}

// What an INI command is about to change, looked at only while journalling.
struct Before {
  std::string path;  ///< the file as the profile functions find it
  bool file_existed = true;
  bool section_existed = true;
  std::string lines;  ///< the section's lines, as ReadProfileSection gives them
};

Before LookBefore(const std::string& file, const std::string& section) {
  Before before;
  if (!Journaling()) return before;
  before.path = ProfileFilePath(file);
  before.file_existed = GetFileAttributesA(before.path.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!before.file_existed) {
    before.section_existed = false;
    return before;
  }
  before.lines = ReadProfileSection(file, section);
  // A section with lines is there; only one without needs the list of sections.
  before.section_existed = !before.lines.empty() || SectionExists(file, section);
  return before;
}

// IniFileMake and IniSectionMake for the file and the section a write made.
void JournalMade(const Before& before, const std::string& file, const std::string& section) {
  if (!Journaling()) return;
  if (!before.file_existed &&
      GetFileAttributesA(before.path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    Journal({journal_kind::kIniFileMake, before.path});
  }
  if (!before.section_existed && SectionExists(file, section)) {
    Journal({journal_kind::kIniSectionMake, before.path, section});
  }
}

// Writes `value` (null: deletes) for the line's key, journalled with the value it had.
void WriteKey(const ParamList& params, const char* value) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  const std::string& key = params[kKey];
  const Before before = LookBefore(file, section);
  const BOOL written =
      WritePrivateProfileStringA(section.c_str(), key.c_str(), value, file.c_str());
  if (!Journaling() || !written) return;
  const std::optional<std::string> old = ValueInSection(before.lines, key);
  if (value == nullptr) {
    if (old) Journal({journal_kind::kIniKeyDelete, before.path, section, key, *old});
    return;
  }
  JournalMade(before, file, section);
  Journal({journal_kind::kIniKeySet, before.path, section, key, value, BeforeState(old.has_value()),
           old.value_or(std::string())});
}

// True when the file `path` holds nothing but blanks, tabs and line ends (nothing at all, as
// the profile functions leave a file whose last section went). False when it cannot be read.
bool HoldsOnlyBlanks(const std::string& path) {
  // A file of more than this many bytes is not taken for an empty one.
  constexpr DWORD kLargestEmpty = 4096;
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char bytes[kLargestEmpty + 1];
  DWORD count = 0;
  if (!ReadFile(file.get(), bytes, sizeof bytes, &count, nullptr) || count > kLargestEmpty) {
    return false;
  }
  return std::string_view(bytes, count).find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

void CreateIniSection(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  CheckProfileTexts(file, {&section});
  if (SectionHasLines(file, section)) return;
  const Before before = LookBefore(file, section);
  if (WritePrivateProfileSectionA(section.c_str(), kNoLines, file.c_str())) {
    JournalMade(before, file, section);
  }
}

void DeleteIniSection(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  CheckProfileTexts(file, {&section});
  // A section header without lines is left in place.
  if (!SectionHasLines(file, section)) return;
  const Before before = LookBefore(file, section);
  if (!WritePrivateProfileSectionA(section.c_str(), nullptr, file.c_str()) || !Journaling()) {
    return;
  }
  std::vector<std::string> record = {journal_kind::kIniSectionDelete, before.path, section};
  for (size_t start = 0; start < before.lines.size();) {
    const size_t end = before.lines.find('\0', start);
    record.push_back(before.lines.substr(start, end - start));
    start = end == std::string::npos ? end : end + 1;
  }
  Journal(record);
}

void DeleteIniKey(const ParamList& params) {
  CheckProfileTexts(params[kFile], {&params[kSection], &params[kKey]});
  WriteKey(params, nullptr);
}

void AppendIniLine(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  const std::string& line = params[kLine];
  CheckProfileTexts(file, {&section, &line});
  const Before before = LookBefore(file, section);
  // As with every INI command, a failed write is not reported.
  if (!AddProfileLine(file, section, line) || !Journaling()) return;
  if (SectionHoldsLine(before.lines, line)) return;  // there already: nothing was written
  JournalMade(before, file, section);
  Journal({journal_kind::kIniLineAdd, before.path, section, line});
}

void SetIniKey(const ParamList& params) {
  CheckProfileTexts(params[kFile], {&params[kSection], &params[kKey], &params[kValue]});
  WriteKey(params, params[kValue].c_str());
}

void AppendIniKey(const ParamList& params) {
  CheckProfileTexts(params[kFile], {&params[kSection], &params[kKey], &params[kValue]});
  const std::string value =
      ReadProfileValue(params[kFile], params[kSection], params[kKey]) + params[kValue];
  CheckProfileText(value);
  WriteKey(params, value.c_str());
}

void RemoveIniLine(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  CheckProfileTexts(file, {&section, &params[kLine]});
  if (RemoveProfileLine(file, section, params[kLine]) && Journaling()) {
    Journal({journal_kind::kIniLineRemove, ProfileFilePath(file), section, params[kLine]});
  }
}

void RemoveEmptyIniSection(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  CheckProfileTexts(file, {&section});
  if (SectionHasLines(file, section) || !SectionExists(file, section)) return;
  if (WritePrivateProfileSectionA(section.c_str(), nullptr, file.c_str()) && Journaling()) {
    Journal({journal_kind::kIniSectionDelete, ProfileFilePath(file), section});
  }
}

void RemoveEmptyIniFile(const ParamList& params) {
  CheckProfileTexts(params[kFile], {});
  const std::string path = ProfileFilePath(params[kFile]);
  if (!HoldsOnlyBlanks(path)) return;
  if (DeleteFileA(path.c_str())) Journal({journal_kind::kFileDelete, path});
}

}  // namespace ini_commands
}  // namespace qxi
