// The names under which deferred operations are recorded. The restart runs in another current
// directory and, on 64-bit Windows, natively: a name is recorded as the file the program
// means now, whatever its current directory and its view of the system folder.
#pragma once

#include <string>

namespace qxi {

/// FullPathOf `path` (engine/full_path.h), and in a 32-bit program on 64-bit Windows the file it names in the
/// native view the restart has (see UndoRedirection). Never raises.
std::string RestartPath(const std::string& path);

}  // namespace qxi
