// Test support: what is recorded for the next restart, read directly from where the system
// keeps it (the Session Manager's PendingFileRenameOperations value, WININIT.INI), and the
// simulated restart that carries it out.
#pragma once

#include <string>
#include <vector>

namespace qxi_test {

/// The names of PendingFileRenameOperations in order, as RegQueryValueExA gives them: for
/// each operation its source, then its destination ("" for a deletion, "!" first for a
/// replacement). Empty when the value is missing.
std::vector<std::string> PendingFileRenameNames();

/// The names MoveFileExA records for `path`: an NT name (\??\ first), and for a destination
/// it may replace, '!' before that.
std::string NtName(const std::string& path);
std::string ReplacingNtName(const std::string& path);

/// Sets PendingFileRenameOperations to `names` (as RegSetValueExA takes them), as another
/// program's operations would be. Adds a test failure when it cannot.
void SetPendingFileRenameNames(const std::vector<std::string>& names);

/// True when the value PendingFileRenameOperations exists.
bool HasPendingFileRenames();

/// WININIT.INI in the Windows directory.
std::string WininitPath();

/// Removes everything recorded for the restart: the value, WININIT.INI and its backup
/// wininit.bak.
void ClearRestartRecords();

/// The simulated restart: runs "wineboot -r" and adds a test failure unless it succeeds.
void Restart();

/// The short (8.3) form of the existing `path` as the system gives it ("" when it has none).
std::string ShortName(const std::string& path);

}  // namespace qxi_test
