// The commands of the group "INI": each edits the INI file of its line through the profile
// functions and looks at none of their results (the journal records only what was written).
#pragma once

#include "engine/command_row.h"

namespace qxi {
namespace ini_commands {

// The line of an INI command: file, section, then a key or a line, then a value.
inline constexpr PathAt kFile{0};
inline constexpr PathAt kSection{1};
inline constexpr PathAt kKey{2};
inline constexpr PathAt kLine{2};
inline constexpr PathAt kValue{3};

/// "CreateSection": writes the section with no lines unless it has lines already.
void CreateIniSection(const ParamList& params);
/// "DeleteSection": removes a section that has lines, with its lines.
void DeleteIniSection(const ParamList& params);
/// "DeleteKey": removes the key; a missing key changes nothing.
void DeleteIniKey(const ParamList& params);
/// "AppendLine": adds the line to the section unless an equal line is there.
void AppendIniLine(const ParamList& params);
/// "SetKey": creates or replaces the key's value.
void SetIniKey(const ParamList& params);
/// "AppendKey": writes the key's whole present value followed directly by the new text.
void AppendIniKey(const ParamList& params);

// The commands that undo an installation: each says nothing of what is gone already.

/// "RemoveLine": removes the first line of the section equal to kLine (ignoring ASCII letter
/// case); a section left without lines stays, as an empty section.
void RemoveIniLine(const ParamList& params);
/// "RemoveEmptySection": removes the section when it is there and holds no line.
void RemoveEmptyIniSection(const ParamList& params);
/// "RemoveEmptyIniFile": deletes the INI file (found as the profile functions find it) when
/// it holds nothing but blanks and line ends.
void RemoveEmptyIniFile(const ParamList& params);

inline constexpr CommandRow kRows[] = {
    {"INI", "CreateSection", {kFile("INI File"), kSection("INI Section")},
     QXI_ACTION(CreateIniSection)},
    {"INI", "DeleteSection", {kFile("INI File"), kSection("INI Section")},
     QXI_ACTION(DeleteIniSection)},
    {"INI", "DeleteKey", {kFile("INI File"), kSection("INI Section"), kKey("Key name")},
     QXI_ACTION(DeleteIniKey)},
    {"INI", "AppendLine", {kFile("INI File"), kSection("INI Section"), kLine("Line to append")},
     QXI_ACTION(AppendIniLine)},
    {"INI", "SetKey", {kFile("INI File"), kSection("INI Section"), kKey("Key"), kValue("Value")},
     QXI_ACTION(SetIniKey)},
    {"INI", "AppendKey",
     {kFile("INI File"), kSection("INI Section"), kKey("Key"), kValue("Value")},
     QXI_ACTION(AppendIniKey)},
    {"INI", "RemoveLine", {kFile("INI File"), kSection("INI Section"), kLine("Line to remove")},
     QXI_ACTION(RemoveIniLine)},
    {"INI", "RemoveEmptySection", {kFile("INI File"), kSection("INI Section")},
     QXI_ACTION(RemoveEmptyIniSection)},
    {"INI", "RemoveEmptyIniFile", {kFile("INI File")}, QXI_ACTION(RemoveEmptyIniFile)},
};

}  // namespace ini_commands
}  // namespace qxi
