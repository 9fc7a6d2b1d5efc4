#include "ini/ini_commands.h"

#include <windows.h>

#include "ini/profile_lines.h"

namespace qxi {
namespace ini_commands {
namespace {

// An empty list: only the NUL that closes it.
constexpr char kNoLines[] = "";

}  // namespace

void CreateIniSection(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  if (SectionHasLines(file, section)) return;
  WritePrivateProfileSectionA(section.c_str(), kNoLines, file.c_str());
}

void DeleteIniSection(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  // A section header without lines is left in place.
  if (!SectionHasLines(file, section)) return;
  WritePrivateProfileSectionA(section.c_str(), nullptr, file.c_str());
}

void DeleteIniKey(const ParamList& params) {
  WritePrivateProfileStringA(params[kSection].c_str(), params[kKey].c_str(), nullptr,
                             params[kFile].c_str());
}

void AppendIniLine(const ParamList& params) {
  // As with every INI command, a failed write is not reported.
  AddProfileLine(params[kFile], params[kSection], params[kLine]);
}

void SetIniKey(const ParamList& params) {
  WritePrivateProfileStringA(params[kSection].c_str(), params[kKey].c_str(),
                             params[kValue].c_str(), params[kFile].c_str());
}

void AppendIniKey(const ParamList& params) {
  const std::string& file = params[kFile];
  const std::string& section = params[kSection];
  const std::string& key = params[kKey];
  std::string value = ReadProfileValue(file, section, key) + params[kValue];
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

}  // namespace ini_commands
}  // namespace qxi
