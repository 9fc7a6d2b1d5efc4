// The Session Manager's PendingFileRenameOperations value, where the NT family keeps the file
// operations to carry out early during its next start: a REG_MULTI_SZ of name pairs, source
// then destination, each an NT name (\??\C:\DIR\FILE). An empty destination deletes the
// source; a destination that starts with '!' replaces an existing file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace qxi {

/// The key under HKEY_LOCAL_MACHINE and the value's name.
constexpr char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingFileRenamesValue[] = L"PendingFileRenameOperations";

/// One recorded operation, its names exactly as recorded, in UTF-8: other programs' names may
/// hold characters the ANSI code page lacks, and must be written back unchanged.
struct PendingFileRename {
  std::string source;
  std::string destination;  // empty: the source is deleted
};

/// The pairs of a value's characters: a source (the list ends at an empty one or at the end
/// of the data), then its destination. A source without a destination is dropped.
std::vector<PendingFileRename> ParsePendingFileRenames(std::wstring_view data);

/// The value's characters for `renames`: each name followed by a NUL, and one more NUL.
std::vector<wchar_t> JoinPendingFileRenames(const std::vector<PendingFileRename>& renames);

/// The pairs recorded under `session_manager` (opened for querying values); none when the
/// value is missing or unreadable. Never raises.
std::vector<PendingFileRename> ReadPendingFileRenames(HKEY session_manager);

/// The pairs recorded on this machine; none when the key or the value cannot be read.
std::vector<PendingFileRename> ReadPendingFileRenames();

/// Replaces the value under `session_manager` (opened for setting values) with `renames`;
/// removes it when there are none. Returns the registry call's result code.
LONG WritePendingFileRenames(HKEY session_manager,
                             const std::vector<PendingFileRename>& renames);

/// The path a recorded name stands for, in the ANSI code page: without the '!' of a
/// replacement and without the \??\ of an NT name.
std::string PathOfRecordedName(std::string_view name);

}  // namespace qxi
