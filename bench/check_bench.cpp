// qxicheck on a large script: how long the whole check of a script of N lines takes (every
// master line, section, condition prefix, parameter and folder macro read by the engine's own
// readers, relative source files looked for, the whole-file checks), as `qxicheck SCRIPT`
// does it.
//   Check/N   a script of N lines: a Conditions section, a master section naming 100 command
//             sections of the five groups, and their lines (a prefix on every fourth, quoted
//             texts, folder macros, numbers, byte data, root keys)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "script_checker.h"

namespace {

const char* const kGroups[] = {"FileCopy", "FileOps", "INI", "Reg", "Misc"};

// The lines of a command section of `group`, cycling through its commands.
std::string Line(const std::string& group, long i) {
  const std::string n = std::to_string(i % 97);
  if (group == "FileCopy") {
    return "CopyFile . \"$PROGS$\\Bench App\" payload" + std::to_string(i % 3) + ".bin \"\" " + n;
  }
  if (group == "FileOps") {
    switch (i % 3) {
      case 0: return "MakeDir \"C:\\Program Files\\Bench\\dir" + n + "\" N";
      case 1: return "CreateShortcut \"$DESKTOP$\\Bench " + n +
                     ".lnk\" C:\\Bench\\bench.exe \"--run " + n + "\" C:\\Bench \"\" 0";
      default: return "DelFile $TEMP$bench" + n + ".tmp";
    }
  }
  if (group == "INI") {
    return i % 2 ? "SetKey $WINDIR$\\bench.ini Options \"Key " + n + "\" \"a \"\"quoted\"\" value\""
                 : "AppendLine $WINDIR$\\bench.ini Plugins plugin" + n + ".dll";
  }
  if (group == "Reg") {
    switch (i % 3) {
      case 0: return "SetSzValue HKLM Software\\Bench Name" + n + " \"Bench " + n + "\"";
      case 1: return "SetDwValue HKCU Software\\Bench Count" + n + " " + n;
      default: return "SetBinValue HKCU Software\\Bench Data" + n + " 00FF10A0B0C0";
    }
  }
  return i % 2 ? "NOP" : "RunApp \"C:\\Bench\\bench.exe --step " + n + "\" C:\\Bench 60000";
}

std::string BenchScript(long lines) {
  const long sections = 100;
  const long per_section = (lines - sections * 2 - 30) / sections;
  std::string text = "[Setup]\r\n";
  for (long s = 0; s < sections; ++s) {
    text += std::string(kGroups[s % 5]) + " S" + std::to_string(s) + "\r\n";
  }
  text += "[Conditions]\r\n";
  for (long c = 0; c < 25; ++c) {
    text += "RegKeyExists C" + std::to_string(c) + " HKLM Software\\Bench\\K" +
            std::to_string(c) + "\r\n";
  }
  for (long s = 0; s < sections; ++s) {
    const std::string group = kGroups[s % 5];
    text += "[S" + std::to_string(s) + "]\r\n\"Section " + std::to_string(s) + "\" " +
            std::to_string(per_section) + "\r\n";
    for (long i = 0; i < per_section; ++i) {
      if (i % 4 == 0) {
        text += "@" + std::string(i % 8 ? "!" : "") + "C" + std::to_string(i % 25) + " ";
      }
      text += Line(group, i) + "\r\n";
    }
  }
  return text;
}

std::string Folder() {
  static const std::string folder = "/tmp/qxi_check_bench_" + std::to_string(getpid());
  return folder;
}

void Write(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

void Check(benchmark::State& state) {
  const long lines = state.range(0);
  const std::string script = Folder() + "/setup.qxs";
  const std::string text = BenchScript(lines);
  std::system(("mkdir -p " + Folder()).c_str());
  Write(script, text);
  for (int i = 0; i < 3; ++i) Write(Folder() + "/payload" + std::to_string(i) + ".bin", "data");
  long counted = 0;
  for (char c : text) counted += c == '\n';
  for (auto _ : state) {
    qxicheck::ScriptChecker checker{qxicheck::CheckSettings()};
    checker.Check(script);
    checker.Finish();
    if (checker.findings().errors() + checker.findings().warnings() != 0) {
      state.SkipWithError("the script is not clean");
      break;
    }
  }
  state.counters["lines"] = static_cast<double>(counted);
  state.SetItemsProcessed(state.iterations() * counted);
  std::system(("rm -rf " + Folder()).c_str());
}

BENCHMARK(Check)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
