// mutation_harness SEED FIRST COUNT SANDBOX SEEDFILE...: runs cases FIRST to FIRST+COUNT-1 of
// the seeded mutation run through the real QXI.dll (found beside this program). Each case's
// files are written into SANDBOX, which becomes the current directory, and ProcessQXS runs
// case.qxs. SEEDFILEs that begin as an archive entry does are archives, the others scripts.
// Before each case its number is written to SANDBOX\..\current.txt, so that whoever started
// the harness can name the case a crash ended. A case running longer than a minute is a hang:
// the harness names it and exits with status 3. Exit status 0 after the last case.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "mutation.h"
#include "qxi.h"

namespace {

constexpr DWORD kHangMs = 60 * 1000;

std::atomic<long> g_log_lines{0};
std::atomic<long> g_empty_logs{0};
std::atomic<DWORD> g_case_start{0};
std::atomic<bool> g_running{false};

void QXI_CALL CountLog(const char* context, const char* message) {
  ++g_log_lines;
  if (context == nullptr || message == nullptr || message[0] == '\0') ++g_empty_logs;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.rfind('\\') + 1);
}

template <typename Function>
Function Find(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: mutation_harness SEED FIRST COUNT SANDBOX SEEDFILE...\n");
    return 2;
  }
  const uint64_t seed = std::strtoull(argv[1], nullptr, 10);
  const uint64_t first = std::strtoull(argv[2], nullptr, 10);
  const uint64_t count = std::strtoull(argv[3], nullptr, 10);
  const std::string sandbox = argv[4];
  std::vector<std::string> scripts, archives;
  for (int i = 5; i < argc; ++i) {
    std::string bytes = ReadWhole(argv[i]);
    const bool archive = bytes.compare(0, 4, "\x67\xD4\xA1\xBE") == 0;
    (archive ? archives : scripts).push_back(bytes);
  }

  HMODULE dll = LoadLibraryA((OwnFolder() + "QXI.dll").c_str());
  auto process = Find<QxiProcessQXS>(dll, "ProcessQXS");
  auto register_log = Find<QxiRegisterLogFunction>(dll, "RegisterLogFunction");
  if (process == nullptr || register_log == nullptr) {
    std::fprintf(stderr, "mutation_harness: QXI.dll not found beside the program\n");
    return 2;
  }
  register_log(CountLog);
  CreateDirectoryA(sandbox.c_str(), nullptr);
  const std::string current = sandbox + "\\..\\current.txt";

  // The case in hand is named by current.txt, which the caller reads after a hang or crash.
  std::thread watchdog([] {
    for (;;) {
      Sleep(1000);
      if (g_running && GetTickCount() - g_case_start > kHangMs) {
        std::printf("HANG: a case ran longer than %lu ms\n", static_cast<unsigned long>(kHangMs));
        std::fflush(stdout);
        ExitProcess(3);
      }
    }
  });
  watchdog.detach();

  DWORD longest = 0;
  for (uint64_t number = first; number < first + count; ++number) {
    qxi_robust::Case c = qxi_robust::MakeCase(seed, number, scripts, archives);
    WriteWhole(current, std::to_string(number) + c.description + "\n");
    for (const auto& file : c.files) WriteWhole(sandbox + "\\" + file.name, file.bytes);
    SetCurrentDirectoryA(sandbox.c_str());
    g_case_start = GetTickCount();
    g_running = true;
    process((sandbox + "\\case.qxs").c_str(), c.section.c_str());
    g_running = false;
    DWORD took = GetTickCount() - g_case_start;
    if (took > longest) longest = took;
    for (const auto& file : c.files) DeleteFileA((sandbox + "\\" + file.name).c_str());
  }
  std::printf("cases %llu, log lines %ld, empty log lines %ld, longest case %lu ms\n",
              static_cast<unsigned long long>(count), g_log_lines.load(), g_empty_logs.load(),
              static_cast<unsigned long>(longest));
  return g_empty_logs == 0 ? 0 : 4;
}
