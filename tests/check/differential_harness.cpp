// differential_harness [--as-is] SEED FIRST COUNT SANDBOX SEEDFILE...: every script through
// qxicheck's check and through the real QXI.dll (found beside this program), compared; the
// seeds are the SEEDFILEs' scripts (seed_scripts.h) and one made from the command table. With
// --as-is, each seed script first runs unchanged, once per section it has (and once with the
// empty name); then cases FIRST to FIRST+COUNT-1 of mutation run SEED. Every case starts in an
// empty SANDBOX holding all seed scripts under their own names (so that they include each
// other) and the case's files; SANDBOX is the current directory of the run, and the script
// files are held open against writing and deleting, so that no line of the run can change
// what the check read. SEEDFILEs that begin as an archive entry does are archives. The case in
// hand is named in SANDBOX\..\current.txt, for a case that ends the harness.
// Prints every report the check missed and every error it foresaw that the run did not log,
// then the counts; exit status 0 when there are neither.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "differential.h"
#include "engine/script_file.h"
#include "engine/text_compare.h"
#include "mutation.h"
#include "qxi.h"
#include "script_checker.h"
#include "seed_scripts.h"
#include "support/disk_files.h"
#include "table_lines.h"

namespace {

using qxi_differential::Logged;

std::vector<Logged> g_log;

void QXI_CALL Collect(const char* context, const char* message) {
  g_log.push_back({context != nullptr ? context : "", message != nullptr ? message : ""});
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// The names of the section headers of a script text, in file order, as the engine finds them.
std::vector<std::string> SectionNames(const std::string& text) {
  std::vector<std::string> names;
  char path[MAX_PATH] = {};
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "QXD", 0, path);
  qxi_test::WriteText(path, text);
  {
    qxi::ScriptFile script(path);
    for (const auto& header : script.Headers()) names.emplace_back(header.name);
  }
  DeleteFileA(path);
  return names;
}

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.rfind('\\') + 1);
}

// Removes `path` and everything below it, whatever the run left there.
void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

// A script of the seed files. Script files are shared: every case's sandbox holds them, so
// that they include each other as they do where they come from.
struct Seed {
  std::string name;
  std::string bytes;
  bool shared;
};

struct Case {
  std::string script;  // to run, in the sandbox
  std::string section;
  std::vector<qxi_robust::CaseFile> files;
  std::string description;
};

struct Totals {
  size_t cases = 0;
  size_t reports = 0;
  size_t independent = 0;
  size_t matched = 0;
  size_t missed = 0;
  size_t false_findings = 0;
  size_t not_logged = 0;
};

class Harness {
 public:
  Harness(std::string sandbox, std::vector<Seed> scripts, QxiProcessQXS process)
      : sandbox_(std::move(sandbox)), scripts_(std::move(scripts)), process_(process) {}

  void Run(const Case& c) {
    // The case in hand, for whoever has to name the case that ended the harness.
    qxi_test::WriteText(sandbox_ + "\\..\\current.txt",
                        c.script + " [" + c.section + "] " + c.description + "\n");
    RemoveTree(sandbox_);
    CreateDirectoryA(sandbox_.c_str(), nullptr);
    std::vector<HANDLE> held;
    auto write = [&](const std::string& name, const std::string& bytes, bool hold) {
      const std::string path = sandbox_ + "\\" + name;
      qxi_test::WriteText(path, bytes);
      if (hold) {
        held.push_back(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      }
    };
    for (const Seed& seed : scripts_) {
      const bool replaced = std::any_of(c.files.begin(), c.files.end(),
                                        [&](const qxi_robust::CaseFile& f) {
                                          return qxi::NamesEqual(f.name, seed.name);
                                        });
      if (seed.shared && !replaced) write(seed.name, seed.bytes, true);
    }
    for (const auto& file : c.files) write(file.name, file.bytes, file.name != "case.qxz");

    const std::string path = sandbox_ + "\\" + c.script;
    qxicheck::CheckSettings settings;
    settings.sections.push_back(c.section);
    qxicheck::ScriptChecker checker(settings);
    checker.Check(path);

    g_log.clear();
    SetCurrentDirectoryA(sandbox_.c_str());
    process_(path.c_str(), c.section.c_str());
    SetCurrentDirectoryA(OwnFolder().c_str());
    for (HANDLE handle : held) CloseHandle(handle);

    const auto comparison = qxi_differential::Compare(
        g_log, checker.findings().EngineMessages(), checker.contexts());
    ++totals_.cases;
    totals_.reports += comparison.reports;
    totals_.independent += comparison.independent;
    totals_.matched += comparison.matched;
    totals_.missed += comparison.missed.size();
    totals_.false_findings += comparison.false_findings.size();
    totals_.not_logged += comparison.not_logged;
    for (const Logged& report : comparison.missed) {
      std::printf("MISSED %s [%s] %s: %s | %s\n", c.script.c_str(), c.section.c_str(),
                  c.description.c_str(), report.context.c_str(), report.message.c_str());
    }
    for (const auto& message : comparison.false_findings) {
      std::printf("FALSE %s [%s] %s: %s | %s\n", c.script.c_str(), c.section.c_str(),
                  c.description.c_str(), message.context.c_str(), message.message.c_str());
    }
    std::fflush(stdout);
  }

  const Totals& totals() const { return totals_; }

 private:
  std::string sandbox_;
  std::vector<Seed> scripts_;
  QxiProcessQXS process_;
  Totals totals_;
};

// The section names of `text` and the empty name: the master sections an as-is run tries.
std::vector<std::string> MasterCandidates(const std::string& text) {
  std::vector<std::string> names = {""};
  for (const std::string& name : SectionNames(text)) {
    if (std::none_of(names.begin(), names.end(),
                     [&](const std::string& n) { return qxi::NamesEqual(n, name); })) {
      names.push_back(name);
    }
  }
  return names;
}

// A name no other seed has yet.
std::string UniqueName(const std::string& name, const std::vector<Seed>& seeds) {
  std::string unique = name;
  for (int n = 2; std::any_of(seeds.begin(), seeds.end(), [&](const Seed& seed) {
         return qxi::NamesEqual(seed.name, unique);
       });
       ++n) {
    unique = std::to_string(n) + "-" + name;
  }
  return unique;
}

}  // namespace

int main(int argc, char** argv) {
  int first_arg = 1;
  const bool as_is = argc > 1 && std::string(argv[1]) == "--as-is";
  if (as_is) ++first_arg;
  if (argc - first_arg < 5) {
    std::fprintf(stderr,
                 "usage: differential_harness [--as-is] SEED FIRST COUNT SANDBOX SEEDFILE...\n");
    return 2;
  }
  const uint64_t seed = std::strtoull(argv[first_arg], nullptr, 10);
  const uint64_t first = std::strtoull(argv[first_arg + 1], nullptr, 10);
  const uint64_t count = std::strtoull(argv[first_arg + 2], nullptr, 10);
  const std::string sandbox = argv[first_arg + 3];
  std::vector<Seed> scripts;
  std::vector<std::string> script_texts, archives;
  for (int i = first_arg + 4; i < argc; ++i) {
    const std::string bytes = qxi_test::ReadText(argv[i]);
    if (bytes.compare(0, 4, "\x67\xD4\xA1\xBE") == 0) {
      archives.push_back(bytes);
      continue;
    }
    const std::string name = BaseName(argv[i]);
    const std::vector<std::string> texts = qxi_differential::ScriptsOfSeed(name, bytes);
    const bool shared = texts.size() == 1 && texts[0] == bytes;
    for (size_t n = 0; n < texts.size(); ++n) {
      const std::string text = qxi_robust::FilterBlockingLines(texts[n]);
      scripts.push_back({UniqueName(shared ? name : name + "-" + std::to_string(n + 1) + ".qxs",
                                    scripts),
                         text, shared});
      script_texts.push_back(text);
    }
  }

  // Every parameter of the table written wrong in every way, as one more script.
  const std::string table_lines =
      qxi_robust::FilterBlockingLines(qxi_differential::TableLinesScript());
  scripts.push_back({"table-lines.qxs", table_lines, false});
  script_texts.push_back(table_lines);

  HMODULE dll = LoadLibraryA((OwnFolder() + "QXI.dll").c_str());
  auto process = reinterpret_cast<QxiProcessQXS>(
      reinterpret_cast<void*>(GetProcAddress(dll, "ProcessQXS")));
  auto register_log = reinterpret_cast<QxiRegisterLogFunction>(
      reinterpret_cast<void*>(GetProcAddress(dll, "RegisterLogFunction")));
  if (process == nullptr || register_log == nullptr) {
    std::fprintf(stderr, "differential_harness: QXI.dll not found beside the program\n");
    return 2;
  }
  register_log(Collect);

  Harness harness(sandbox, scripts, process);
  if (as_is) {
    for (const Seed& script : scripts) {
      std::vector<qxi_robust::CaseFile> files;
      if (!script.shared) files.push_back({script.name, script.bytes});
      for (const std::string& section : MasterCandidates(script.bytes)) {
        harness.Run({script.name, section, files, "as is"});
      }
    }
  }
  for (uint64_t number = first; number < first + count; ++number) {
    qxi_robust::Case mutant = qxi_robust::MakeCase(seed, number, script_texts, archives);
    // The mutation run's master section is "Main" or the empty name; a mutant of a script
    // whose master section has another name runs its first section instead.
    // (A host passes a C string: a name holding a NUL ends there.)
    std::string section = mutant.section;
    const std::vector<std::string> names = SectionNames(mutant.files.back().bytes);
    if (!section.empty() && !names.empty() &&
        std::none_of(names.begin(), names.end(),
                     [&](const std::string& n) { return qxi::NamesEqual(n, section); })) {
      section = names.front().c_str();
    }
    harness.Run({"case.qxs", section, mutant.files,
                 "case " + std::to_string(number) + ":" + mutant.description});
  }
  RemoveTree(sandbox);

  const Totals& t = harness.totals();
  // The counts once more in a form run_differential.sh sums over its chunks.
  std::printf("counts %zu %zu %zu %zu %zu %zu %zu\n", t.cases, t.reports, t.independent,
              t.matched, t.missed, t.false_findings, t.not_logged);
  std::printf("differential: scripts %zu, engine reports %zu (machine-independent %zu), "
              "matched %zu, missed %zu, false %zu, foreseen where conditions hold but not "
              "logged %zu\n",
              t.cases, t.reports, t.independent, t.matched, t.missed, t.false_findings,
              t.not_logged);
  return t.missed == 0 && t.false_findings == 0 ? 0 : 1;
}
