// "CreateShortcut" of the FileOps group: writes a shell link through CShortcut.
#pragma once

#include "engine/params.h"

namespace qxi {

/// Creates the folder of "Shortcut file name" (and those above it) with normal attributes,
/// then writes there a link to "Destination path" with "Command Arguments", and with "Work
/// directory" and "Icon location"/"Icon index" when those texts are not empty. Never raises:
/// failures show only on the debugger output.
void CreateShortcut(const ParamList& params);

}  // namespace qxi
