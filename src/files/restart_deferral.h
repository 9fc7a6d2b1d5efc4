// Which failures to write a destination may wait for the restart: only those of a file that
// is there and can be replaced later (in use, locked). A destination that can never be
// written (a name Windows refuses, a path too long, a folder that cannot be made, a full
// volume) is reported instead, since the restart could not write it either.
#pragma once

#include <cstdint>
#include <string>

namespace qxi {

/// True when the failure `error` to create or open `destination` for writing may be handed
/// to the restart: a sharing or lock violation, a file mapped by a process, or access denied
/// to a file that is neither a folder nor read-only. Never raises.
bool CanWaitForRestart(const std::string& destination, uint32_t error);

}  // namespace qxi
