#include "registry/priorities.h"

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/params.h"
#include "registry/reg_key.h"
#include "registry/registry_journal.h"

namespace qxi {

const char kPrioritiesKey[] = "Software\\Brenvale\\Tarnset\\Priorities";

bool CheckPriority(const std::string& path, uint32_t priority) {
  // An unreadable store, or a value of another type, is no stored priority: it never keeps
  // a file from being written.
  return priority == 0 || StoredPriority(path) < priority;
}

void UpdatePriority(const std::string& path, uint32_t priority) {
  if (priority == 0 || !CheckPriority(path, priority)) return;
  if (!Journaling()) {
    RootKey(kRootLocalMachine).Create(kPrioritiesKey).SetDword(path, priority);
    return;
  }
  const RegKey& machine = RootKey(kRootLocalMachine);
  const uint32_t before = StoredPriority(path);
  const std::vector<std::string> made = MissingKeyLevels(machine, kPrioritiesKey);
  RegKey store = machine.Create(kPrioritiesKey);
  JournalKeysMade(kRootKeyNames[kRootLocalMachine], made);
  store.SetDword(path, priority);
  Journal({journal_kind::kPrioritySet, path, std::to_string(priority), std::to_string(before)});
}

uint32_t StoredPriority(const std::string& path) {
  try {
    RegKey store = RootKey(kRootLocalMachine).Open(kPrioritiesKey);
    return store.ValueType(path) == REG_DWORD ? store.QueryDword(path) : 0;
  } catch (const RegKey::Except&) {
    return 0;
  }
}

}  // namespace qxi
