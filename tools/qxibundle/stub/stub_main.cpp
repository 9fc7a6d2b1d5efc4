// The setup stub: the program qxibundle makes setups of. It checks its own file before it
// changes anything, unpacks QXI.dll and the setup folder into a new private folder, loads the
// engine from there by its full path, runs the script's master section Setup (in the setup
// window, or silently with /S), removes the folder, and ends with a status deployment tools
// understand: 0 nothing reported, 1 something reported, 3010 complete only after the next
// restart, 2 bad switches or a damaged setup file.
#include <windows.h>

#include <string>
#include <vector>

#include "bundle_reader.h"
#include "bundle_settings.h"
#include "code_pages.h"
#include "payload_unpack.h"
#include "pending_renames.h"
#include "private_folder.h"
#include "run_log.h"
#include "run_summary.h"
#include "script_run.h"
#include "session_takeover.h"
#include "stub_command_line.h"
#include "stub_engine.h"
#include "stub_files.h"

namespace {

using namespace qxistub;

constexpr int kExitClean = 0;
constexpr int kExitReported = 1;
constexpr int kExitUsageOrDamage = 2;
constexpr int kExitRestartNeeded = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED

constexpr char kSetupScript[] = "setup.qxs";
constexpr char kSetupSection[] = "Setup";

// The folder the stub was started in, given back before the private folder is removed (a
// folder that is some process's current folder cannot be removed).
class CurrentFolder {
 public:
  CurrentFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, path);
    if (length > 0 && length < MAX_PATH) saved_ = path;
  }
  ~CurrentFolder() { Restore(); }
  void Restore() {
    if (!saved_.empty()) SetCurrentDirectoryA(saved_.c_str());
  }

 private:
  std::string saved_;
};

std::string SetupTitle(const qxibundle::BundleSettings& settings) {
  return settings.product.name + " Setup";
}

// A text of the bundle (UTF-8) in the ANSI code page the engine and the "A" functions use.
std::string ToAnsi(const std::string& utf8) { return qxibundle::Recode(utf8, CP_UTF8, CP_ACP); }

int RunSetup(const StubOptions& options, RunLog& log, qxi::ByteSource& bundle,
             const qxibundle::BundleContents& contents,
             const qxibundle::BundleSettings& settings) {
  const std::string title = ToAnsi(SetupTitle(settings));
  CurrentFolder current;
  PrivateFolder folder;
  UnpackPayload(bundle, contents, folder.path(), true);
  const std::string setup_folder = folder.path() + "\\" + kSetupFolderName;

  int errors = 0;
  int waiting = 0;
  {
    StubEngine engine;
    LoadStubEngine(folder.path() + "\\" + kEngineFileName, engine);
    TakeOverSession(engine, log, options.silent);
    const qxirun::WaitingOperations waiting_before = qxirun::CountWaitingOperations();
    // The script runs in its own folder, as every host runs it, and by its bare name, so that
    // what is logged names "setup.qxs" rather than the private folder's random one.
    if (!SetCurrentDirectoryA(setup_folder.c_str())) {
      throw StubError(SystemFailure("cannot enter " + setup_folder, GetLastError()));
    }
    ScriptRun run;
    run.script = kSetupScript;
    run.section = kSetupSection;
    run.title = title;
    run.silent = options.silent;
    RunScript(engine.library, run, log.observer());
    const qxirun::RunCounts& counts = log.observer().progress().counts();
    errors = counts.errors;
    const qxirun::WaitingOperations waiting_after = qxirun::CountWaitingOperations();
    std::string summary = qxirun::FormatSummary(counts, waiting_after);
    if (!summary.empty() && summary.back() == '\n') summary.pop_back();
    log.Line(summary);
    waiting = waiting_after.file_renames + waiting_after.wininit - waiting_before.file_renames -
              waiting_before.wininit;
    current.Restore();
  }  // the engine is unloaded here, so that its file can go with the folder

  const int left = folder.Remove();
  if (left > 0) {
    log.Line("Files of the setup still in use, deleted at the next restart: " +
             std::to_string(left));
  }
  const int requested = RequestedSessionEnd();
  const bool restart = requested >= 0 || waiting > 0;
  log.Line(std::string("Restart needed: ") + (restart ? "yes" : "no"));
  const int status = errors > 0 ? kExitReported : restart ? kExitRestartNeeded : kExitClean;
  log.Line("Exit status: " + std::to_string(status));
  if (restart && !options.silent) OfferSessionEnd(requested >= 0 ? requested : EWX_REBOOT, title);
  return status;
}

int Run(const StubOptions& options, RunLog& log) {
  ReadFileSource bundle(OwnPath());
  const qxibundle::BundleContents contents = qxibundle::OpenBundle(bundle);
  const qxibundle::BundleSettings settings = qxibundle::DecodeSettings(
      qxibundle::UnpackText(bundle, *contents.Find(qxibundle::EntryRole::kSettings)));
  log.Line(SetupTitle(settings) + " " + settings.product.version);
  return RunSetup(options, log, bundle, contents, settings);
}

}  // namespace

int main(int argc, char** argv) {
  HardenDllSearch();
  StubOptions options;
  std::string error;
  const bool parsed =
      ParseStubCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, error);
  RunLog log(options.log_path, options.silent);
  if (!parsed || options.help) {
    const std::string text = parsed ? StubUsageText() : error + "\n\n" + StubUsageText();
    log.Failure("Setup", text);
    return parsed ? kExitClean : kExitUsageOrDamage;
  }
  if (!log.ok()) {
    log.Failure("Setup", SystemFailure("cannot write the log file " + options.log_path, GetLastError()));
    return kExitUsageOrDamage;
  }
  try {
    return Run(options, log);
  } catch (const qxibundle::BundleError& e) {
    log.Failure("Setup", std::string(e.what()) +
                             ". Nothing was changed. Download the setup again, or ask its "
                             "publisher for a new copy.");
    return kExitUsageOrDamage;
  } catch (const std::exception& e) {
    log.Failure("Setup", e.what());
    return kExitReported;
  }
}
