#include "engine/run_script.h"

#include "engine/failure_report.h"
#include "engine/host_callbacks.h"
#include "engine/qx_err.h"
#include "engine/script_file.h"

namespace qxi {
namespace {

constexpr const char* kUncaughtException = "Uncaught exception - Unknown error";

// Runs `body`; whatever escapes it is reported with the current log context.
template <typename Body>
void Guarded(Body body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    SendLog(FailureText(e).get());
  } catch (...) {
    SendLog(kUncaughtException);
  }
}

}  // namespace

void RunScript(const char* script_path, const char* section_name) noexcept {
  Guarded([&] {
    ScriptFile script(script_path);
    if (!script.IsOpen()) {
      Callbacks().log(script_path != nullptr ? script_path : "", kCouldntOpenScript);
      return;
    }
    // What escapes the run is reported in the script's own context.
    ScopedScriptPath context(script.path());
    Guarded([&] {
      if (section_name == nullptr) throw QXErr(kSectionNotFound);
      script.RunSection(section_name);
    });
  });
}

}  // namespace qxi
