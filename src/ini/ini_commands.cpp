#include "ini/ini_commands.h"

#include <windows.h>

#include <initializer_list>

#include "engine/qx_err.h"
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

void CheckProfileTexts(std::initializer_list<const std::string*> texts) {
  for (const std::string* text : texts) {
    if (text->size() > kLongestProfileText) throw QXErr(kRunTimeError, ERROR_INVALID_PARAMETER);
  }
}

}  // namespace

void CreateIniSection(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  CheckProfileTexts({&file, &section});
  if (SectionHasLines(file, section)) return;
  WritePrivateProfileSectionA(section.c_str(), kNoLines, file.c_str());
}

void DeleteIniSection(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  CheckProfileTexts({&file, &section});
  // A section header without lines is left in place.
  if (!SectionHasLines(file, section)) return;
  WritePrivateProfileSectionA(section.c_str(), nullptr, file.c_str());
}

void DeleteIniKey(const ParamList& params) {
  CheckProfileTexts({&params[kFile], &params[kSection], &params[kKey]});
  WritePrivateProfileStringA(params[kSection].c_str(), params[kKey].c_str(), nullptr,
                             params[kFile].c_str());
}

void AppendIniLine(const ParamList& params) {
  CheckProfileTexts({&params[kFile], &params[kSection], &params[kLine]});
  // As with every INI command, a failed write is not reported.
  AddProfileLine(params[kFile], params[kSection], params[kLine]);
}

void SetIniKey(const ParamList& params) {
  CheckProfileTexts({&params[kFile], &params[kSection], &params[kKey], &params[kValue]});
  WritePrivateProfileStringA(params[kSection].c_str(), params[kKey].c_str(),
                             params[kValue].c_str(), params[kFile].c_str());
}

void AppendIniKey(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  const std::string& key = params[kKey];
  CheckProfileTexts({&file, &section, &key, &params[kValue]});
  std::string value = ReadProfileValue(file, section, key) + params[kValue];
  CheckProfileTexts({&value});
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

}  // namespace ini_commands
}  // namespace qxi
