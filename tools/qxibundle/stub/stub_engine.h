// QXI.dll as the stub loads it: by the full path of its own copy in the private folder, so
// that neither the current folder nor the search path can put another DLL in its place.
#pragma once

#include <string>

#include "engine_library.h"
#include "qxi.h"

namespace qxistub {

/// The engine's exports a setup uses beyond those of every host.
struct StubEngine {
  qxirun::EngineLibrary library;
  QxiRegisterMessageBoxFunction register_message_box = nullptr;
  QxiRegisterExitWindowsFunction register_exit_windows = nullptr;
  QxiExpandFolderMacros expand_folder_macros = nullptr;
};

/// Narrows where the program's later DLL loads may look: the system folder (where the
/// system offers that), and never the current folder. Call first thing.
void HardenDllSearch();

/// Loads the engine at `path` (a full path) with its dependencies taken from its own folder
/// and the system folder only, and finds every export. Throws StubError.
void LoadStubEngine(const std::string& path, StubEngine& engine);

/// ExpandFolderMacros through the engine. Throws StubError for a text it refuses.
std::string ExpandWithEngine(const StubEngine& engine, const std::string& text);

}  // namespace qxistub
