// qxirun: the console host. Loads QXI.dll as any host would (LoadLibrary, GetProcAddress),
// registers all five callbacks and runs one master section of a script. Log lines go to
// stderr as "CONTEXT: MESSAGE"; dialog texts and progress go to stdout.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "qxi.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitLogged = 1;
constexpr int kExitUsage = 2;

int g_logged = 0;
long long g_steps = 0;

void QXI_CALL OnLog(const char* context, const char* message) {
  ++g_logged;
  std::fprintf(stderr, "%s: %s\n", context, message);
  std::fflush(stderr);
}

void QXI_CALL OnDialogTitle(const char* text) { std::printf("Title: %s\n", text); }

void QXI_CALL OnDialog(const char* text, int number) {
  std::printf("== %s (%d)\n", text, number);
  std::fflush(stdout);
}

void QXI_CALL OnSubDialog(const char* text, int number) {
  std::printf("   %s (%d bytes)\n", text, number);
  std::fflush(stdout);
}

void QXI_CALL OnAdvance(int amount) { g_steps += amount; }

int Usage() {
  std::fprintf(stderr,
               "usage: qxirun SCRIPT [SECTION]\n"
               "       qxirun --eval SCRIPT NAME\n"
               "Runs master section SECTION (default: Setup) of SCRIPT with QXI.dll, or prints\n"
               "the value (1 or 0) of condition NAME of SCRIPT and exits 0.\n"
               "Exit status: 0 nothing logged, 1 something logged, 2 bad usage or no QXI.dll.\n");
  return kExitUsage;
}

template <typename Fn>
bool Find(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (fn == nullptr) std::fprintf(stderr, "qxirun: QXI.dll has no export %s\n", name);
  return fn != nullptr;
}

HMODULE LoadEngine() {
  HMODULE module = LoadLibraryA("QXI.dll");
  if (module == nullptr) {
    std::fprintf(stderr, "qxirun: cannot load QXI.dll (error %lu)\n", GetLastError());
  }
  return module;
}

// --eval SCRIPT NAME: the condition's value on stdout; failing test lines still go to the log.
int Evaluate(const char* script, const char* name) {
  HMODULE module = LoadEngine();
  if (module == nullptr) return kExitUsage;
  QxiEvaluateCondition evaluate = nullptr;
  QxiRegisterLogFunction register_log = nullptr;
  if (!Find(module, "EvaluateCondition", evaluate) ||
      !Find(module, "RegisterLogFunction", register_log)) {
    return kExitUsage;
  }
  register_log(OnLog);
  std::printf("%d\n", evaluate(script, name));
  FreeLibrary(module);
  return kExitClean;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--eval") == 0) {
    if (argc != 4) return Usage();
    return Evaluate(argv[2], argv[3]);
  }
  if (argc < 2 || argc > 3 || std::strcmp(argv[1], "--help") == 0) return Usage();
  const char* script = argv[1];
  const char* section = argc == 3 ? argv[2] : "Setup";

  HMODULE module = LoadEngine();
  if (module == nullptr) return kExitUsage;
  QxiProcessQXS process = nullptr;
  QxiRegisterLogFunction register_log = nullptr;
  QxiRegisterSetDialogTitle register_title = nullptr;
  QxiRegisterSetDialog register_dialog = nullptr;
  QxiRegisterSetSubDialog register_sub_dialog = nullptr;
  QxiRegisterAdvanceDialog register_advance = nullptr;
  if (!Find(module, "ProcessQXS", process) || !Find(module, "RegisterLogFunction", register_log) ||
      !Find(module, "RegisterSetDialogTitle", register_title) ||
      !Find(module, "RegisterSetDialog", register_dialog) ||
      !Find(module, "RegisterSetSubDialog", register_sub_dialog) ||
      !Find(module, "RegisterAdvanceDialog", register_advance)) {
    return kExitUsage;
  }
  register_log(OnLog);
  register_title(OnDialogTitle);
  register_dialog(OnDialog);
  register_sub_dialog(OnSubDialog);
  register_advance(OnAdvance);

  process(script, section);
  std::printf("Done: %lld steps, %d errors logged\n", g_steps, g_logged);
  FreeLibrary(module);
  return g_logged == 0 ? kExitClean : kExitLogged;
}
