/* Lumen Notes, the small application the demo installation installs.
 *
 *   lumen --first-run DIR   the installer's post-install step: writes DIR\firstrun.txt and
 *                           says which runtime it found
 *   lumen --hold FILE SECS  another program using FILE: keeps it open with no sharing until
 *                           FILE.release appears or SECS seconds have passed; FILE.held tells
 *                           the caller that the file is held
 *   lumen --version         prints the version
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define LUMEN_VERSION "2.1"

static int FirstRun(const char* dir) {
  char path[MAX_PATH];
  FILE* out;
  if (_snprintf(path, sizeof path, "%s\\firstrun.txt", dir) >= (int)sizeof path) return 2;
  out = fopen(path, "w");
  if (out == NULL) return 2;
  fprintf(out, "Lumen Notes %s was set up in %s\n", LUMEN_VERSION, dir);
  fclose(out);
  printf("Lumen Notes %s: first-run set-up done in %s\n", LUMEN_VERSION, dir);
  return 0;
}

static int Hold(const char* file, int seconds) {
  char marker[MAX_PATH];
  char release[MAX_PATH];
  HANDLE held;
  HANDLE ready;
  int waited;
  if (_snprintf(marker, sizeof marker, "%s.held", file) >= (int)sizeof marker) return 2;
  if (_snprintf(release, sizeof release, "%s.release", file) >= (int)sizeof release) return 2;
  held = CreateFileA(file, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (held == INVALID_HANDLE_VALUE) return 2;
  ready = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  for (waited = 0; waited < seconds * 10; ++waited) {
    if (GetFileAttributesA(release) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(100);
  }
  CloseHandle(held);
  DeleteFileA(marker);
  DeleteFileA(release);
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "--first-run") == 0) return FirstRun(argv[2]);
  if (argc == 4 && strcmp(argv[1], "--hold") == 0) return Hold(argv[2], atoi(argv[3]));
  if (argc == 2 && strcmp(argv[1], "--version") == 0) {
    printf("Lumen Notes %s\n", LUMEN_VERSION);
    return 0;
  }
  fprintf(stderr, "usage: lumen --first-run DIR | --hold FILE SECONDS | --version\n");
  return 2;
}
