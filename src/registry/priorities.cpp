#include "registry/priorities.h"

#include "registry/reg_key.h"

namespace qxi {

const char kPrioritiesKey[] = "Software\\Brenvale\\Tarnset\\Priorities";

bool CheckPriority(const std::string& path, uint32_t priority) {
  if (priority == 0) return true;
  try {
    RegKey store = RootKey(kRootLocalMachine).Open(kPrioritiesKey);
    // A value of any other type is no stored priority.
    uint32_t stored = store.ValueType(path) == REG_DWORD ? store.QueryDword(path) : 0;
    return stored < priority;
  } catch (const RegKey::Except&) {
    return true;  // an unreadable store never keeps a file from being written
  }
}

void UpdatePriority(const std::string& path, uint32_t priority) {
  if (priority == 0 || !CheckPriority(path, priority)) return;
  RegKey store = RootKey(kRootLocalMachine).Create(kPrioritiesKey);
  store.SetDword(path, priority);
}

}  // namespace qxi
