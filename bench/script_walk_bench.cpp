// Script walking: how fast the engine reads and runs command lines, and what naming many
// sections from one master section costs. Scripts are written to a temporary file once per
// size and run through the engine as a host's ProcessQXS call would run them.
//   NopLines/N      one command section of N NOP lines
//   Sections/N      N command sections of one NOP line each, named in turn by the master
//                   section and placed after it (each one looked up by name)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/host_callbacks.h"
#include "engine/run_script.h"

namespace {

long g_advances = 0;
long g_logs = 0;
void QXI_CALL CountAdvance(int amount) { g_advances += amount; }
void QXI_CALL CountLog(const char*, const char*) { ++g_logs; }

std::string WriteScript(const std::string& name, const std::string& text) {
  const std::string path = "/tmp/qxi_bench_" + std::to_string(getpid()) + "_" + name + ".qxs";
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return path;
}

std::string NopScript(long lines) {
  std::string text = "[Main]\r\nMisc Body\r\n[Body]\r\n\"Body\" " + std::to_string(lines) + "\r\n";
  for (long i = 0; i < lines; ++i) text += "NOP\r\n";
  return text;
}

std::string SectionsScript(long sections) {
  std::string text = "[Main]\r\n";
  for (long i = 0; i < sections; ++i) text += "Misc S" + std::to_string(i) + "\r\n";
  for (long i = 0; i < sections; ++i) {
    text += "[S" + std::to_string(i) + "]\r\n\"Section " + std::to_string(i) + "\" 1\r\nNOP\r\n";
  }
  return text;
}

void Run(benchmark::State& state, const std::string& path, long expected_advances) {
  qxi::RegisterAdvance(CountAdvance);
  qxi::RegisterLog(CountLog);
  for (auto _ : state) {
    g_advances = 0;
    g_logs = 0;
    qxi::RunScript(path.c_str(), "Main");
    if (g_advances != expected_advances || g_logs != 0) {
      state.SkipWithError("the script did not run every line");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * expected_advances);
  std::remove(path.c_str());
}

void NopLines(benchmark::State& state) {
  const long lines = state.range(0);
  Run(state, WriteScript("nop" + std::to_string(lines), NopScript(lines)), lines);
}

void Sections(benchmark::State& state) {
  const long sections = state.range(0);
  Run(state, WriteScript("sections" + std::to_string(sections), SectionsScript(sections)),
      sections);
}

BENCHMARK(NopLines)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(Sections)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
