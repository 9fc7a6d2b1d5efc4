#include "registry/shared_file_claims.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <optional>
#include <vector>

#include "engine/journal.h"
#include "engine/journal_text.h"
#include "engine/params.h"
#include "registry/priorities.h"
#include "registry/reg_key.h"
#include "registry/registry_journal.h"

namespace qxi {

const char kReleasedKey[] = "Software\\Brenvale\\Tarnset\\Released";

namespace {

// The word of a note whose writer found no priority stored and the file already there.
constexpr char kKeptFile[] = "kept";

const char* MachineRoot() { return kRootKeyNames[kRootLocalMachine]; }

// One released claim: its priority, the one stored before it, and, when none was, whether
// its writer made the file.
struct Release {
  uint32_t priority;
  uint32_t previous;
  bool made;
};

// A whole decimal number of 32 bits into `number`; false for anything else.
bool ParseNumber(std::string_view text, uint32_t& number) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return false;
  number = static_cast<uint32_t>(value);
  return true;
}

// One note, "P>Q"; false for text that is none.
bool ParseRelease(std::string_view entry, Release& release) {
  const size_t mark = entry.find('>');
  if (mark == std::string_view::npos || !ParseNumber(entry.substr(0, mark), release.priority) ||
      release.priority == 0) {
    return false;
  }
  const std::string_view before = entry.substr(mark + 1);
  release.made = before != kKeptFile;
  release.previous = 0;
  return !release.made || ParseNumber(before, release.previous);
}

// The notes of `path`; entries that cannot be read are dropped.
std::vector<Release> ReadReleases(const std::string& path) {
  std::vector<Release> releases;
  std::string text;
  try {
    text = RootKey(kRootLocalMachine).Open(kReleasedKey).QueryString(path);
  } catch (const RegKey::Except&) {
    return releases;  // no notes
  }
  const std::string_view list(text);
  for (size_t start = list.find_first_not_of(' '); start != std::string_view::npos;
       start = list.find_first_not_of(' ', start)) {
    const size_t end = std::min(list.find(' ', start), list.size());
    Release release;
    if (ParseRelease(list.substr(start, end - start), release)) releases.push_back(release);
    start = end;
  }
  return releases;
}

// Writes the notes of `path`: the value goes when none are left, and the key with it when
// nothing else is in it.
void WriteReleases(const std::string& path, const std::vector<Release>& releases) {
  const RegKey& machine = RootKey(kRootLocalMachine);
  if (releases.empty()) {
    try {
      RegKey notes = machine.Open(kReleasedKey);
      RemoveValueJournalled(MachineRoot(), kReleasedKey, notes, path);
      if (notes.HasContent()) return;
    } catch (const RegKey::Except&) {
      return;  // no notes to remove
    }
    machine.RemoveSubKey(kReleasedKey);
    Journal({journal_kind::kKeyDelete, MachineRoot(), kReleasedKey});
    return;
  }
  std::string text;
  for (const Release& release : releases) {
    if (!text.empty()) text += ' ';
    text += std::to_string(release.priority) + '>';
    text += release.previous != 0 || release.made ? std::to_string(release.previous) : kKeptFile;
  }
  const std::vector<std::string> made = Journaling() ? MissingKeyLevels(machine, kReleasedKey)
                                                     : std::vector<std::string>();
  RegKey notes = machine.Create(kReleasedKey);
  JournalKeysMade(MachineRoot(), made);
  SetValueJournalled(MachineRoot(), kReleasedKey, notes, path, TextValue(text),
                     [&] { notes.SetString(path, text); });
}

// Puts `priority` into the store for `path`; 0 removes the record.
void SetStoredPriority(const std::string& path, uint32_t priority) {
  const RegKey& machine = RootKey(kRootLocalMachine);
  if (priority == 0) {
    RegKey store = machine.Open(kPrioritiesKey);
    RemoveValueJournalled(MachineRoot(), kPrioritiesKey, store, path);
    return;
  }
  RegKey store = machine.Create(kPrioritiesKey);
  SetValueJournalled(MachineRoot(), kPrioritiesKey, store, path, DwordValue(priority),
                     [&] { store.SetDword(path, priority); });
}

}  // namespace

ClaimOutcome ReleasePriorityClaim(const std::string& path, uint32_t priority, uint32_t previous,
                                  bool made) {
  if (priority == 0) return made ? ClaimOutcome::kFileGoes : ClaimOutcome::kFileStays;
  const uint32_t stored = StoredPriority(path);
  std::vector<Release> releases = ReadReleases(path);
  if (stored > priority) {
    // A later installation wrote the file: it stays, with that installation's record.
    releases.push_back({priority, previous, made});
    WriteReleases(path, releases);
    return ClaimOutcome::kFileStays;
  }
  // The installations that wrote the file before ours, latest first, until one that has not
  // released it: that one still needs the file.
  uint32_t owner = previous;
  bool owner_made = made;
  const size_t notes_before = releases.size();
  while (owner != 0) {
    const auto note = std::find_if(releases.begin(), releases.end(),
                                   [&](const Release& r) { return r.priority == owner; });
    if (note == releases.end()) break;
    owner = note->previous;
    owner_made = note->made;
    releases.erase(note);
  }
  if (releases.size() != notes_before) WriteReleases(path, releases);
  if (stored == priority) SetStoredPriority(path, owner);
  return owner == 0 && owner_made ? ClaimOutcome::kFileGoes : ClaimOutcome::kFileStays;
}

}  // namespace qxi
