// QXI.dll as a host loads it: LoadLibraryA, then GetProcAddress for each export by its plain
// name. A missing library or export becomes a readable reason instead of a loader failure.
#pragma once

#include <windows.h>

#include <string>

#include "engine/unique_handle.h"
#include "qxi.h"

namespace qxirun {

/// LoadLibraryA modules: invalid is null.
struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type module) noexcept { FreeLibrary(module); }
};
using UniqueModule = qxi::UniqueHandle<ModuleTraits>;

/// The loaded library and its exports; unloaded with the object.
struct EngineLibrary {
  UniqueModule module;
  QxiProcessQXS process = nullptr;
  QxiEvaluateCondition evaluate = nullptr;
  QxiRegisterLogFunction register_log = nullptr;
  QxiRegisterSetDialogTitle register_title = nullptr;
  QxiRegisterSetDialog register_dialog = nullptr;
  QxiRegisterSetSubDialog register_sub_dialog = nullptr;
  QxiRegisterAdvanceDialog register_advance = nullptr;
  QxiRegisterEventFunction register_event = nullptr;
  QxiRegisterJournalFunction register_journal = nullptr;
};

/// Loads `path` (normally "QXI.dll", found beside the program first) and finds every
/// export. Returns false with the reason in `error` when the library or an export is missing;
/// `library` is then left unloaded.
bool LoadEngineLibrary(const char* path, EngineLibrary& library, std::string& error);

}  // namespace qxirun
