// The Reg commands that write a value, creating its key (and the keys above it) when
// missing. Parameters: "Root Key", "Key", "Value" (empty: the key's default value), then the
// data. Each raises RegKey::Except.
#pragma once

#include "engine/params.h"

namespace qxi {

/// "SetSzValue": a REG_SZ value of "String", its stored size counting the terminating NUL.
void SetSzValue(const ParamList& params);

/// "SetDwValue": a REG_DWORD value holding the 32-bit pattern of "Data" (-1 is 0xFFFFFFFF).
void SetDwValue(const ParamList& params);

/// "SetBinValue": a REG_BINARY value of the bytes of "Data" (size 0 when there are none).
void SetBinValue(const ParamList& params);

}  // namespace qxi
