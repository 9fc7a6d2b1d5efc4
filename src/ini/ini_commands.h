// The actions of the command group "INI": each reads the line's parameters by position
// ("INI File", "INI Section", then the key, line or value) and edits the file through the
// profile functions. None of them looks at the results of those functions.
#pragma once

#include "engine/params.h"

namespace qxi {

/// CreateSection: writes the section with no lines unless it has lines already.
void CreateIniSection(const ParamList& params);
/// DeleteSection: removes a section that has lines, with its lines.
void DeleteIniSection(const ParamList& params);
/// DeleteKey: removes the key; a missing key changes nothing.
void DeleteIniKey(const ParamList& params);
/// AppendLine: adds the line to the section unless an equal line is there.
void AppendIniLine(const ParamList& params);
/// SetKey: creates or replaces the key's value.
void SetIniKey(const ParamList& params);
/// AppendKey: writes the key's whole present value followed directly by the new text.
void AppendIniKey(const ParamList& params);

}  // namespace qxi
