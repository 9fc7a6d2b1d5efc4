// The setup stub: the program qxibundle makes setups of. It checks its own file before it
// changes anything, unpacks QXI.dll and the setup folder into a new private folder, loads the
// engine from there by its full path, runs the script's master section Setup (in the setup
// window, or silently with /S) with a journal, keeps the uninstaller in the installation,
// removes the folder, and ends with a status deployment tools understand: 0 nothing
// reported, 1 something reported, 3010 complete only after the next restart, 2 bad switches
// or a damaged setup file. As the uninstaller, it runs the uninstall script kept beside it,
// then removes its entry and itself.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "bundle_reader.h"
#include "bundle_settings.h"
#include "code_pages.h"
#include "kept_uninstaller.h"
#include "payload_unpack.h"
#include "pending_renames.h"
#include "private_folder.h"
#include "run_journal.h"
#include "run_log.h"
#include "run_summary.h"
#include "script_run.h"
#include "session_takeover.h"
#include "stub_command_line.h"
#include "stub_engine.h"
#include "stub_files.h"
#include "uninstall_script.h"

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

// A text of the bundle (UTF-8) in the ANSI code page the engine and the "A" functions use.
std::string ToAnsi(const std::string& utf8) { return qxibundle::Recode(utf8, CP_UTF8, CP_ACP); }

// What differs between a setup's run and its uninstaller's.
struct StubRun {
  std::string title;         ///< ANSI
  std::string script_folder;  ///< where the script is and runs
  ScriptRun script;
  /// A setup's run only: the installation's folder as the script writes it (ANSI). The run
  /// is journalled.
  std::string install_dir;
};

// What a run came to.
struct RunOutcome {
  int errors = 0;
  int waiting = 0;  // operations the run left for the restart
  std::string install_location;  // install_dir expanded, without a trailing backslash
  std::string journal;           // the run's journal lines (a setup's run)
};

// Loads the engine from the private folder, runs the script in its folder (by its bare
// name, so that what is logged names "setup.qxs" rather than the private folder's random
// one) and logs the summary. The engine is unloaded on return, so that its file can go.
RunOutcome RunWithEngine(const StubOptions& options, RunLog& log, const PrivateFolder& folder,
                         const StubRun& stub_run) {
  CurrentFolder current;
  StubEngine engine;
  LoadStubEngine(folder.path() + "\\" + kEngineFileName, engine);
  TakeOverSession(engine, log, options.silent);
  RunOutcome outcome;
  // Expanded before the run, so that no run is made without a place for its journal.
  if (!stub_run.install_dir.empty()) {
    outcome.install_location = ExpandWithEngine(engine, stub_run.install_dir);
    while (!outcome.install_location.empty() && outcome.install_location.back() == '\\') {
      outcome.install_location.pop_back();
    }
  }
  const qxirun::WaitingOperations waiting_before = qxirun::CountWaitingOperations();
  if (!SetCurrentDirectoryA(stub_run.script_folder.c_str())) {
    throw StubError(SystemFailure("cannot enter " + stub_run.script_folder, GetLastError()));
  }
  {
    std::unique_ptr<RunJournal> journal;
    if (!stub_run.install_dir.empty()) {
      journal = std::make_unique<RunJournal>(engine.library, stub_run.script.script,
                                             stub_run.script.section);
    }
    RunScript(engine.library, stub_run.script, log.observer());
    if (journal) {
      journal->Stop();
      outcome.journal = journal->text();
    }
  }
  const qxirun::RunCounts& counts = log.observer().progress().counts();
  const qxirun::WaitingOperations waiting = qxirun::CountWaitingOperations();
  std::string summary = qxirun::FormatSummary(counts, waiting);
  if (!summary.empty() && summary.back() == '\n') summary.pop_back();
  log.Line(summary);
  outcome.errors = counts.errors;
  outcome.waiting = waiting.file_renames + waiting.wininit - waiting_before.file_renames -
                    waiting_before.wininit;
  return outcome;
}

// The end of every run: the restart it needs, the exit status, and with a window the offer
// to restart now.
int Finish(const StubOptions& options, RunLog& log, const std::string& title, int errors,
           int waiting) {
  const int requested = RequestedSessionEnd();
  const bool restart = requested >= 0 || waiting > 0;
  log.Line(std::string("Restart needed: ") + (restart ? "yes" : "no"));
  const int status = errors > 0 ? kExitReported : restart ? kExitRestartNeeded : kExitClean;
  log.Line("Exit status: " + std::to_string(status));
  if (restart && !options.silent) OfferSessionEnd(requested >= 0 ? requested : EWX_REBOOT, title);
  return status;
}

void RemovePrivateFolder(RunLog& log, PrivateFolder& folder) {
  const int left = folder.Remove();
  if (left > 0) {
    log.Line("Files of the setup still in use, deleted at the next restart: " +
             std::to_string(left));
  }
}

int RunSetup(const StubOptions& options, RunLog& log, qxi::ByteSource& bundle,
             const qxibundle::BundleContents& contents,
             const qxibundle::BundleSettings& settings) {
  PrivateFolder folder;
  UnpackPayload(bundle, contents, folder.path(), true);
  StubRun run;
  run.title = ToAnsi(settings.product.name + " Setup");
  run.script_folder = folder.path() + "\\" + kSetupFolderName;
  run.script = {kSetupScript, kSetupSection, run.title, qxisetup::RunWords(), options.silent};
  run.install_dir = ToAnsi(settings.install_dir);
  RunOutcome outcome = RunWithEngine(options, log, folder, run);

  const KeptUninstaller kept = KeepUninstaller(
      outcome.install_location + "\\" + kUninstallFolderName, outcome.install_location,
      std::move(outcome.journal), bundle, contents, settings);
  log.Line("Uninstaller: " + kept.uninstaller);
  for (const std::string& problem : kept.problems) {
    log.Line("Journal " + problem + " (left out of the uninstall script)");
  }
  RemovePrivateFolder(log, folder);
  return Finish(options, log, run.title, outcome.errors, outcome.waiting);
}

int RunUninstall(const StubOptions& options, RunLog& log, qxi::ByteSource& bundle,
                 const qxibundle::BundleContents& contents,
                 const qxibundle::BundleSettings& settings) {
  const std::string own = OwnPath();
  PrivateFolder folder;
  UnpackPayload(bundle, contents, folder.path(), false);
  StubRun run;
  run.title = ToAnsi(settings.product.name + " Uninstall");
  run.script_folder = own.substr(0, own.find_last_of('\\'));
  qxisetup::RunWords words;
  words.running = "Removing...";
  words.complete = "Removal complete";
  words.finished_with = "Removal finished with";
  run.script = {kUninstallScriptName, qxirun::kUninstallSection, run.title, words,
                options.silent};
  const RunOutcome outcome = RunWithEngine(options, log, folder, run);
  RemovePrivateFolder(log, folder);
  if (outcome.errors == 0) {
    const int left = RemoveUninstaller(own, settings);
    log.Line("The uninstall entry is deleted" +
             std::string(left > 0 ? "; the uninstaller goes at the next restart" : ""));
  } else {
    log.Line("The uninstall entry and the uninstaller stay, so that it can be run again");
  }
  return Finish(options, log, run.title, outcome.errors, outcome.waiting);
}

int Run(const StubOptions& options, RunLog& log) {
  ReadFileSource bundle(OwnPath());
  const qxibundle::BundleContents contents = qxibundle::OpenBundle(bundle);
  const qxibundle::BundleSettings settings = qxibundle::DecodeSettings(
      qxibundle::UnpackText(bundle, *contents.Find(qxibundle::EntryRole::kSettings)));
  if (contents.kind == qxibundle::BundleKind::kUninstaller) {
    log.Line(settings.product.name + " Uninstall " + settings.product.version);
    return RunUninstall(options, log, bundle, contents, settings);
  }
  log.Line(settings.product.name + " Setup " + settings.product.version);
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
