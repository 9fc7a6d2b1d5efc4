#include "engine/run_script.h"

#include "engine/conditions_section.h"
#include "engine/failure_report.h"
#include "engine/folder_macros.h"
#include "engine/host_callbacks.h"
#include "engine/master_runner.h"
#include "engine/qx_err.h"
#include "engine/run_end.h"
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
  RunEndScope run;  // what the run kept (COM for its shortcuts) ends with it
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
      RunSection(script, section_name);
    });
  });
}

int EvaluateScriptCondition(const char* script_path, const char* name) noexcept {
  int result = 1;
  try {
    ScriptFile script(script_path);  // an unopened script has no sections
    // $SCRIPTDIR$ names the script asked about; the log context stays empty.
    ScopedMacroScript macro_script(script.path());
    ConditionMap conditions = LoadConditions(script);
    auto found = conditions.find(name != nullptr ? name : "");
    result = found != conditions.end() && found->second ? 1 : 0;
  } catch (...) {
    // Whatever fails leaves the result as it stood.
  }
  return result;
}

}  // namespace qxi
