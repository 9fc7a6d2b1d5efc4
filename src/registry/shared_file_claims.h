// The claims of installations on a file that several of them wrote under the priority rule.
// The priorities store keeps only the priority of the last writer. An uninstallation that
// finds a higher priority than its own leaves the file and that record to the later writer
// and notes its release, so that the later writer's uninstallation can tell whether an
// earlier installation still needs the file. The notes are kept under HKEY_LOCAL_MACHINE
// "Software\Brenvale\Tarnset\Released": one REG_SZ value per path, named like its priority,
// holding entries "P>Q" separated by blanks: priority P was released, and Q is the priority
// stored before P was written (0: none, and that installation made the file; "kept": none,
// and the file was there before it).
#pragma once

#include <cstdint>
#include <string>

namespace qxi {

/// The notes' key under HKEY_LOCAL_MACHINE.
extern const char kReleasedKey[];

/// Whether an uninstallation removes the file.
enum class ClaimOutcome { kFileStays, kFileGoes };

/// Gives up the claim of an installation that wrote `path` with `priority` when the store held
/// `previous` (0: none); `made` says whether that installation made the file. When the store
/// holds a higher priority, the release is noted and the file stays. Otherwise the earlier
/// writers are followed through their notes (each note followed is removed): the first one
/// that has not released the file gets its priority back in the store and keeps the file;
/// when none is left, our record is removed and the file goes if the first writer made it.
/// A record lower than ours (put back by another uninstallation) is left alone. Priority 0
/// claims nothing: the file goes when it was made. Raises RegKey::Except when the store or the
/// notes cannot be written.
ClaimOutcome ReleasePriorityClaim(const std::string& path, uint32_t priority, uint32_t previous,
                                  bool made);

}  // namespace qxi
