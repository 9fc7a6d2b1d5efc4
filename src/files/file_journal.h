// The journal's file records. Paths are recorded in full (completed against the current
// folder), since the uninstallation may run elsewhere. Whether something was there before a
// change is asked (IsPresent) only while journalling. FullPathOf: engine/full_path.h.
#pragma once

#include <cstdint>
#include <string>

namespace qxi {

/// True when `path` names a file or folder now. Asked only for the journal.
bool IsPresent(const std::string& path);

/// A record of `kind` naming one file or folder: FileDelete, FolderMake, FolderRemove,
/// RestartDelete.
void JournalPath(const char* kind, const std::string& path);

/// FileWrite of `path`, which `existed` before it was written.
void JournalFileWrite(const std::string& path, bool existed);

/// A record of `kind` (FileMove, RestartMove) taking `source` to `destination`, which
/// `existed` before.
void JournalMove(const char* kind, const std::string& source, const std::string& destination,
                 bool existed);

/// FolderAttributes of `path` when the attribute letters (AHRS) of `before` and `after`
/// differ: an existing folder's attributes were set.
void JournalFolderAttributes(const std::string& path, uint32_t before, uint32_t after);

/// RestartReplace: the staged copy `staged` replaces `destination` (which `existed`) at the
/// next restart.
void JournalRestartReplace(const std::string& destination, const std::string& staged,
                           bool existed);

}  // namespace qxi
