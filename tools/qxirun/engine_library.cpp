// Loading the engine by name, for hosts that must run (and say why) without it.
#include "engine_library.h"

#include <utility>

namespace qxirun {
namespace {

template <typename Fn>
bool Find(HMODULE module, const char* name, Fn& fn, std::string& error) {
  // GetProcAddress gives a generic function pointer; each export's real type is in qxi.h.
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (fn == nullptr) error = std::string("QXI.dll has no export ") + name;
  return fn != nullptr;
}

}  // namespace

bool LoadEngineLibrary(const char* path, EngineLibrary& library, std::string& error) {
  UniqueModule module(LoadLibraryA(path));
  if (!module) {
    DWORD code = GetLastError();
    error = std::string("cannot load ") + path + " (error " + std::to_string(code) + ")";
    return false;
  }
  HMODULE m = module.get();
  if (!Find(m, "ProcessQXS", library.process, error) ||
      !Find(m, "EvaluateCondition", library.evaluate, error) ||
      !Find(m, "RegisterLogFunction", library.register_log, error) ||
      !Find(m, "RegisterSetDialogTitle", library.register_title, error) ||
      !Find(m, "RegisterSetDialog", library.register_dialog, error) ||
      !Find(m, "RegisterSetSubDialog", library.register_sub_dialog, error) ||
      !Find(m, "RegisterAdvanceDialog", library.register_advance, error) ||
      !Find(m, "RegisterEventFunction", library.register_event, error) ||
      !Find(m, "RegisterJournalFunction", library.register_journal, error)) {
    return false;
  }
  library.module = std::move(module);
  return true;
}

}  // namespace qxirun
