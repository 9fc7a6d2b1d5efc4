// qxirun: the console host. Loads QXI.dll as any host would (LoadLibrary, GetProcAddress),
// registers its callbacks and runs one master section of a script in the script's own
// folder, showing each command section and file with its progress (redrawn in place on a
// console, one line each otherwise) and closing with a summary. Failures go to stderr as
// "CONTEXT: MESSAGE".
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "command_line.h"
#include "console_progress_display.h"
#include "engine_library.h"
#include "finding_output.h"
#include "pending_renames.h"
#include "progress_display.h"
#include "qxi.h"
#include "run_observer.h"
#include "run_summary.h"
#include "script_checker.h"
#include "script_folder.h"

namespace {

using qxirun::Options;

constexpr int kExitClean = 0;
constexpr int kExitLogged = 1;
constexpr int kExitUsage = 2;

// The callbacks carry no user data: they reach the run's observer through this pointer,
// set for the duration of the one engine call.
qxirun::RunObserver* g_observer = nullptr;

void QXI_CALL OnLog(const char* context, const char* message) {
  g_observer->Log(context, message);
}
// Registered like the others; the engine never calls it, and a console has no title to set.
void QXI_CALL OnDialogTitle(const char*) {}
void QXI_CALL OnDialog(const char* text, int number) { g_observer->SetDialog(text, number); }
void QXI_CALL OnSubDialog(const char* text, int number) {
  g_observer->SetSubDialog(text, number);
}
void QXI_CALL OnAdvance(int amount) { g_observer->Advance(amount); }
void QXI_CALL OnEvent(int kind, const char* text, unsigned int number) {
  g_observer->Event(kind, text, number);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// The console display when stdout is a console and progress is wanted; lines otherwise.
std::unique_ptr<qxirun::ProgressDisplay> MakeDisplay(const Options& options) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (!options.quiet && out != nullptr && out != INVALID_HANDLE_VALUE &&
      GetConsoleMode(out, &mode)) {
    return std::make_unique<qxirun::ConsoleProgressDisplay>(out, stderr);
  }
  return std::make_unique<qxirun::PlainProgressDisplay>(options.quiet ? nullptr : stdout, stderr);
}

// qxicheck's check of the master section the run will run, relative paths from the current
// folder, where the engine will run it. Findings go to stderr; true when there is no error.
bool CheckFirst(const Options& options, const std::string& script) {
  qxicheck::CheckSettings settings;
  settings.sections.push_back(options.name);
  settings.host_folder = ".";
  qxicheck::ScriptChecker checker(settings);
  const bool readable = checker.Check(script);
  checker.Finish();
  const qxicheck::FindingList& findings = checker.findings();
  std::fputs(qxicheck::FindingLines(findings).c_str(), stderr);
  std::fprintf(stderr, "qxirun: check: %s", qxicheck::SummaryLine(findings).c_str());
  return readable && findings.errors() == 0;
}

// `script` is the script's path as the engine is to open it from the current folder.
int Run(const Options& options, const std::string& script, const qxirun::EngineLibrary& engine,
        std::FILE* log_file) {
  std::unique_ptr<qxirun::ProgressDisplay> display = MakeDisplay(options);
  qxirun::RunObserver observer(*display, log_file);
  g_observer = &observer;
  engine.register_log(OnLog);
  engine.register_title(OnDialogTitle);
  engine.register_dialog(OnDialog);
  engine.register_sub_dialog(OnSubDialog);
  engine.register_advance(OnAdvance);
  engine.register_event(OnEvent);

  if (options.mode == Options::Mode::kEvaluate) {
    // The value on stdout; failing test lines still go to the log. Always exit 0.
    std::printf("%d\n", engine.evaluate(script.c_str(), options.name.c_str()));
    g_observer = nullptr;
    return kExitClean;
  }
  engine.process(script.c_str(), options.name.c_str());
  observer.Finish();
  g_observer = nullptr;

  const qxirun::RunCounts& counts = observer.progress().counts();
  if (!options.quiet) {
    std::printf("%s", qxirun::FormatSummary(counts, qxirun::CountWaitingOperations()).c_str());
  }
  return counts.errors == 0 ? kExitClean : kExitLogged;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!qxirun::ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "qxirun: %s\n%s", error.c_str(), qxirun::UsageText());
    return kExitUsage;
  }
  if (options.mode == Options::Mode::kHelp) {
    std::printf("%s", qxirun::UsageText());
    return kExitClean;
  }
  UniqueFile log_file;
  if (!options.log_path.empty()) {
    log_file.reset(std::fopen(options.log_path.c_str(), "a"));
    if (!log_file) {
      std::fprintf(stderr, "qxirun: cannot open log file %s\n", options.log_path.c_str());
      return kExitUsage;
    }
  }
  // The check looks for relative files where the run will: in the script's folder.
  const std::string script =
      options.keep_cwd ? options.script : qxirun::EnterScriptFolder(options.script);
  if (options.check && !CheckFirst(options, script) && !options.force) {
    std::fprintf(stderr, "qxirun: not run: the check found errors (--force runs it anyway)\n");
    return kExitLogged;
  }
  qxirun::EngineLibrary engine;
  if (!qxirun::LoadEngineLibrary("QXI.dll", engine, error)) {
    std::fprintf(stderr, "qxirun: %s\n", error.c_str());
    return kExitUsage;
  }
  return Run(options, script, engine, log_file.get());
}
