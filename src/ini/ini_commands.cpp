#include "ini/ini_commands.h"

#include <windows.h>

#include "ini/profile_lines.h"

namespace qxi {
namespace {

// Positions of the parameters every command of the group shares.
constexpr size_t kFile = 0;
constexpr size_t kSection = 1;
// The third parameter is the key ("Key name", "Key") or the line ("Line to append"); the
// fourth is the value.
constexpr size_t kKeyOrLine = 2;
constexpr size_t kValue = 3;

// An empty list: only the NUL that closes it.
constexpr char kNoLines[] = "";

}  // namespace

void CreateIniSection(const ParamList& params) {
  const std::string& file = params.Text(kFile);
  const std::string& section = params.Text(kSection);
  if (SectionHasLines(file, section)) return;
  WritePrivateProfileSectionA(section.c_str(), kNoLines, file.c_str());
}

void DeleteIniSection(const ParamList& params) {
  const std::string& file = params.Text(kFile);
  const std::string& section = params.Text(kSection);
  // A section header without lines is left in place.
  if (!SectionHasLines(file, section)) return;
  WritePrivateProfileSectionA(section.c_str(), nullptr, file.c_str());
}

void DeleteIniKey(const ParamList& params) {
  WritePrivateProfileStringA(params.Text(kSection).c_str(), params.Text(kKeyOrLine).c_str(),
                             nullptr, params.Text(kFile).c_str());
}

void AppendIniLine(const ParamList& params) {
  // As with every INI command, a failed write is not reported.
  AddProfileLine(params.Text(kFile), params.Text(kSection), params.Text(kKeyOrLine));
}

void SetIniKey(const ParamList& params) {
  WritePrivateProfileStringA(params.Text(kSection).c_str(), params.Text(kKeyOrLine).c_str(),
                             params.Text(kValue).c_str(), params.Text(kFile).c_str());
}

void AppendIniKey(const ParamList& params) {
  const std::string& file = params.Text(kFile);
  const std::string& section = params.Text(kSection);
  const std::string& key = params.Text(kKeyOrLine);
  std::string value = ReadProfileValue(file, section, key) + params.Text(kValue);
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

}  // namespace qxi
