// A 32-bit program on 64-bit Windows sees the system folder redirected: what it opens as
// C:\WINDOWS\system32\X.DLL is C:\WINDOWS\SysWOW64\X.DLL, and C:\WINDOWS\Sysnative is its
// alias of the real system32. The restart runs natively, without that view, so a name
// recorded for it must be the file the program really meant.
#pragma once

#include <optional>
#include <string>

namespace qxi {

/// The three folders of the redirection, as full paths without a trailing backslash.
struct RedirectedFolders {
  std::string system;        // the system folder as the program names it (system32)
  std::string wow64;         // where the program's view of it really leads (SysWOW64)
  std::string native_alias;  // the program's alias of the real system folder (Sysnative)
};

/// The folders of the running program when it runs under WOW64; none otherwise (a native
/// program, or a system without WOW64). Never raises.
std::optional<RedirectedFolders> CurrentRedirectedFolders();

/// The full path `path` with the program's view undone: below the native alias, the same
/// names below the system folder; below the system folder, the same names below the wow64
/// folder where both folders holding the file are one and the same (the redirection is on
/// for this thread and the folder is not one Windows exempts from it). Every other path, and
/// one whose folder does not exist, is returned unchanged. Never raises.
std::string UndoRedirection(const std::string& path, const RedirectedFolders& folders);

}  // namespace qxi
