// The folder a host runs a script in: the script's own, so that the relative paths of its
// lines (CopyFile ., ExtractQXZ program.qxz, Include parts.qxs) name the files beside it,
// wherever the host was started from.
#pragma once

#include <string>

namespace qxirun {

/// Makes the folder that holds `script` the process's current folder and returns the
/// script's full path, which names the same file from there. When the path cannot be
/// completed or the folder cannot be entered, the current folder stays and `script` comes
/// back unchanged, so that the engine reports a script it cannot open as it was given.
std::string EnterScriptFolder(const std::string& script);

}  // namespace qxirun
