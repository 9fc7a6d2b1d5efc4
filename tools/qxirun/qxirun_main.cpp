// qxirun: the console host. Loads QXI.dll as any host would (LoadLibrary, GetProcAddress),
// registers its callbacks and runs one master section of a script in the script's own
// folder, showing each command section and file with its progress (redrawn in place on a
// console, one line each otherwise) and closing with a summary. Failures go to stderr as
// "CONTEXT: MESSAGE". With --journal the run's changes are appended to a journal file;
// --make-uninstall turns such a file into an uninstall script.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "command_line.h"
#include "console_progress_display.h"
#include "engine/journal_text.h"
#include "engine_library.h"
#include "finding_output.h"
#include "pending_renames.h"
#include "progress_display.h"
#include "qxi.h"
#include "run_observer.h"
#include "run_summary.h"
#include "script_checker.h"
#include "script_folder.h"
#include "uninstall_script.h"

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

// The journal file of the run: a "Run" line (the script, the master section), then one
// line per record, each written through at once so that a run cut short leaves what it did.
std::FILE* g_journal = nullptr;

void WriteJournalLine(const std::string& line) {
  std::fputs(line.c_str(), g_journal);
  std::fputs("\r\n", g_journal);
  std::fflush(g_journal);
}

void QXI_CALL OnJournal(const char* record) { WriteJournalLine(record); }

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
        std::FILE* log_file, std::FILE* journal_file) {
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
  if (journal_file != nullptr) {
    g_journal = journal_file;
    WriteJournalLine(qxi::JournalLine({"Run", options.script, options.name}));
    engine.register_journal(OnJournal);
  }
  engine.process(script.c_str(), options.name.c_str());
  engine.register_journal(nullptr);
  g_journal = nullptr;
  observer.Finish();
  g_observer = nullptr;

  const qxirun::RunCounts& counts = observer.progress().counts();
  if (!options.quiet) {
    std::printf("%s", qxirun::FormatSummary(counts, qxirun::CountWaitingOperations()).c_str());
  }
  return counts.errors == 0 ? kExitClean : kExitLogged;
}

// Reads the whole file `path` into `text`; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text) {
  UniqueFile file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) text.append(buffer, n);
  return std::ferror(file.get()) == 0;
}

// Opens `path` (none: nothing to open) to append to it with fopen's `mode`; false, with a
// message naming the `what` file, when it cannot be opened.
bool OpenToAppend(const std::string& path, const char* mode, const char* what, UniqueFile& file) {
  if (path.empty()) return true;
  file.reset(std::fopen(path.c_str(), mode));
  if (file) return true;
  std::fprintf(stderr, "qxirun: cannot open %s file %s\n", what, path.c_str());
  return false;
}

// --make-uninstall JOURNAL OUT: the journal lines left out go to stderr.
int MakeUninstall(const Options& options) {
  std::string journal;
  if (!ReadWholeFile(options.script, journal)) {
    std::fprintf(stderr, "qxirun: cannot read journal %s\n", options.script.c_str());
    return kExitUsage;
  }
  const qxirun::UninstallScript script = qxirun::MakeUninstallScript(journal, options.script);
  UniqueFile out(std::fopen(options.name.c_str(), "wb"));
  if (!out || std::fwrite(script.text.data(), 1, script.text.size(), out.get()) !=
                  script.text.size() ||
      std::fclose(out.release()) != 0) {
    std::fprintf(stderr, "qxirun: cannot write %s\n", options.name.c_str());
    return kExitUsage;
  }
  for (const std::string& problem : script.problems) {
    std::fprintf(stderr, "qxirun: %s: %s (left out)\n", options.script.c_str(), problem.c_str());
  }
  return script.problems.empty() ? kExitClean : kExitLogged;
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
  if (options.mode == Options::Mode::kMakeUninstall) return MakeUninstall(options);
  UniqueFile log_file, journal_file;
  if (!OpenToAppend(options.log_path, "a", "log", log_file) ||
      !OpenToAppend(options.journal_path, "ab", "journal", journal_file)) {
    return kExitUsage;
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
  return Run(options, script, engine, log_file.get(), journal_file.get());
}
