// The names under which deferred operations are recorded. The restart runs in another current
// directory and, on 64-bit Windows, natively: a name is recorded as the file the program
// means now, whatever its current directory and its view of the system folder.
#pragma once

#include <string>

namespace qxi {

/// `path` completed to a full path by the system (".\\app.dll" names a file of the current
/// directory); a name the system cannot complete is returned as it stands. Never raises.
std::string FullPath(const std::string& path);

/// FullPath of `path`, and in a 32-bit program on 64-bit Windows the file it names in the
/// native view the restart has (see UndoRedirection). Never raises.
std::string RestartPath(const std::string& path);

}  // namespace qxi
