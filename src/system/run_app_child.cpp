// The program the RunApp tests start: it appends what it did to a file, so that the test can
// see that it ran, where, as which process, and whether it has finished.
//   run_app_child OUT gate GATE_FILE   waits until GATE_FILE exists, then finishes
//   run_app_child OUT sleep MS         sleeps MS milliseconds, then finishes
// OUT receives "started <pid> <current directory>" at once and "done" at the end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Append(const char* out_file, const char* line) {
  FILE* out = std::fopen(out_file, "ab");
  if (out == nullptr) return;
  std::fprintf(out, "%s\n", line);
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, directory);
  char started[MAX_PATH + 64];
  std::snprintf(started, sizeof started, "started %lu %s",
                static_cast<unsigned long>(GetCurrentProcessId()), directory);
  Append(argv[1], started);

  if (std::strcmp(argv[2], "gate") == 0) {
    // Bounded, so that a failing test never leaves this program behind for long.
    for (int waited_ms = 0; waited_ms < 120000; waited_ms += 20) {
      if (GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES) break;
      Sleep(20);
    }
  } else {
    Sleep(static_cast<DWORD>(std::atol(argv[3])));
  }
  Append(argv[1], "done");
  return 0;
}
