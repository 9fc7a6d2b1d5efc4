// The priorities store: for each file path written with a priority, the priority it was last
// written with, kept under HKEY_LOCAL_MACHINE across runs. File writers ask CheckPriority
// before writing a file and call UpdatePriority after it is written.
#pragma once

#include <cstdint>
#include <string>

namespace qxi {

/// The store's key under HKEY_LOCAL_MACHINE.
extern const char kPrioritiesKey[];

/// True when a file may be written at `path` with `priority`: the priority is 0, nothing
/// readable is stored, or the stored priority is lower (compared unsigned). Never raises.
bool CheckPriority(const std::string& path, uint32_t priority);

/// Records `priority` for `path` when CheckPriority allows it; priority 0 is never stored.
/// Raises RegKey::Except when the store cannot be created or written. Journals the store's
/// keys it makes and PrioritySet with the priority stored before.
void UpdatePriority(const std::string& path, uint32_t priority);

/// The priority stored for `path`: 0 when none is, or when the store or the value cannot be
/// read or is not a REG_DWORD. Never raises.
uint32_t StoredPriority(const std::string& path);

}  // namespace qxi
