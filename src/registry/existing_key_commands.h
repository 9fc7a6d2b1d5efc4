// The Reg commands that work on a value of a key that must exist already: neither creates
// the key. Parameters: "Root Key", "Key", "Value" (empty: the key's default value).
#pragma once

#include "engine/params.h"

namespace qxi {

/// "DeleteValue": removes the value. Raises RegKey::Except (ERROR_FILE_NOT_FOUND for a
/// missing key or value).
void DeleteValue(const ParamList& params);

/// "IncValue": reads the value as a number of at most 4 bytes of any type (0 when it cannot
/// be read: missing or longer) and stores that number + 1, wrapping in 32 bits, as a
/// REG_DWORD. Raises RegKey::Except for a missing key, which it does not create, and when
/// the write fails.
void IncValue(const ParamList& params);

}  // namespace qxi
