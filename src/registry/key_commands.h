// The Reg commands that create and delete keys. Parameters: "Root Key", "Key".
#pragma once

#include "engine/params.h"

namespace qxi {

/// "CreateKey": creates "Key" under the root with any missing keys above it; a key that
/// exists is only opened. Raises RegKey::Except.
void CreateKey(const ParamList& params);

/// "DeleteKey": one deletion of "Key" under the root; whether a key that still has subkeys
/// goes is the platform's rule. Raises RegKey::Except (ERROR_FILE_NOT_FOUND when missing).
void DeleteKey(const ParamList& params);

}  // namespace qxi
