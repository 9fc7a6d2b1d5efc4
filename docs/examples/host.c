/* A complete console host for QXI.dll: loads the library, registers the five callbacks, can ask
   for one condition with EvaluateCondition, and runs one master section of a script in the
   script's own folder.

   usage: host SCRIPT SECTION [CONDITION]

   Log lines go to stderr as "CONTEXT: MESSAGE"; the progress goes to stdout. Exit status: 0 when
   nothing was logged, 1 when something was, 2 for bad usage or a missing QXI.dll.

   Build (32-bit, the product's architecture):
     i686-w64-mingw32-gcc -Wall -Wextra -I include docs/examples/host.c -o host.exe */
#include <windows.h>

#include <stdio.h>

#include "qxi.h"

/* What the callbacks share. The engine calls them on the thread that called ProcessQXS, one
   at a time, so a console host needs no locking. */
static int g_logged;         /* log lines received */
static long long g_total;    /* the number of the current section's header line */
static long long g_done;     /* the sum of the advance amounts since that header line */

/* One failure: the running script's path and the message. The texts belong to the engine and
   are valid only during the call; copy them to keep them. */
static void QXI_CALL OnLog(const char* context, const char* message) {
  ++g_logged;
  fprintf(stderr, "%s: %s\n", context, message);
}

/* Registered for completeness: the engine never calls it. */
static void QXI_CALL OnDialogTitle(const char* text) { printf("Title: %s\n", text); }

/* The header line of a command section: its text and its number. The number is the script
   author's count of steps (lines, or bytes in a FileCopy section). */
static void QXI_CALL OnDialog(const char* text, int number) {
  g_total = number;
  g_done = 0;
  printf("%s\n", text);
}

/* CopyFile and ExtractQXZ, before each file: the file's name or path and its size. */
static void QXI_CALL OnSubDialog(const char* text, int number) {
  printf("  %s (%d bytes)\n", text, number);
}

/* 1 after each command line, or a number of bytes while a file is written. */
static void QXI_CALL OnAdvance(int amount) {
  g_done += amount;
  if (g_total > 0) {
    long long percent = g_done * 100 / g_total;
    printf("  %lld%%\n", percent > 100 ? 100 : percent);
  }
}

/* Relative paths in a script (CopyFile ., Include parts.qxs) start from the current folder:
   make it the script's own, and name the script by its full path from then on. When that
   cannot be done, the script is run as given, and the engine reports it if it cannot open it. */
static const char* EnterScriptFolder(const char* script, char* full, DWORD size) {
  char* name = NULL;
  DWORD length = GetFullPathNameA(script, size, full, &name);
  if (length == 0 || length >= size || name == NULL) return script;
  char first = *name;
  *name = '\0'; /* the folder, with its trailing backslash */
  BOOL entered = SetCurrentDirectoryA(full);
  *name = first;
  return entered ? full : script;
}

/* GetProcAddress with the cast to the export's type, through the generic function type. */
#define FIND(module, type, name) ((type)(void (*)(void))GetProcAddress((module), (name)))

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    fprintf(stderr, "usage: host SCRIPT SECTION [CONDITION]\n");
    return 2;
  }
  char full_path[MAX_PATH];
  const char* script = EnterScriptFolder(argv[1], full_path, MAX_PATH);
  const char* section = argv[2];

  HMODULE qxi = LoadLibraryA("QXI.dll");
  if (qxi == NULL) {
    fprintf(stderr, "host: cannot load QXI.dll (error %lu)\n", (unsigned long)GetLastError());
    return 2;
  }
  QxiProcessQXS process = FIND(qxi, QxiProcessQXS, "ProcessQXS");
  QxiEvaluateCondition evaluate = FIND(qxi, QxiEvaluateCondition, "EvaluateCondition");
  QxiRegisterLogFunction register_log = FIND(qxi, QxiRegisterLogFunction, "RegisterLogFunction");
  QxiRegisterSetDialogTitle register_title =
      FIND(qxi, QxiRegisterSetDialogTitle, "RegisterSetDialogTitle");
  QxiRegisterSetDialog register_dialog = FIND(qxi, QxiRegisterSetDialog, "RegisterSetDialog");
  QxiRegisterSetSubDialog register_sub_dialog =
      FIND(qxi, QxiRegisterSetSubDialog, "RegisterSetSubDialog");
  QxiRegisterAdvanceDialog register_advance =
      FIND(qxi, QxiRegisterAdvanceDialog, "RegisterAdvanceDialog");
  if (process == NULL || evaluate == NULL || register_log == NULL || register_title == NULL ||
      register_dialog == NULL || register_sub_dialog == NULL || register_advance == NULL) {
    fprintf(stderr, "host: QXI.dll lacks an export\n");
    FreeLibrary(qxi);
    return 2;
  }

  /* Each Register function returns the function it was given. */
  register_log(OnLog);
  register_title(OnDialogTitle);
  register_dialog(OnDialog);
  register_sub_dialog(OnSubDialog);
  register_advance(OnAdvance);

  if (argc == 4) {
    /* Evaluates the script's Conditions section only; failing test lines are logged. */
    printf("Condition %s: %d\n", argv[3], evaluate(script, argv[3]));
  }

  /* Returns when the run is over; failures arrived through OnLog. */
  process(script, section);

  printf("Done, %d error(s) logged\n", g_logged);
  FreeLibrary(qxi);
  return g_logged == 0 ? 0 : 1;
}
