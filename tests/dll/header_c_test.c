/* A host written in C, linked with QXI.dll's import library through the prototypes of qxi.h:
   it compiles only if the header is plain C, links only if every prototype names a real
   export with the right calling convention, and checks that the calls arrive intact and, on
   32-bit x86, that each export removed its own arguments from the stack as a standard call
   does. Prints one line per failed check and exits 1 on any. */
#include <stdio.h>
#include <string.h>

#include "qxi.h"

static int logged = 0;
static char last_context[512];
static char last_message[512];

static void QXI_CALL OnLog(const char* context, const char* message) {
  ++logged;
  strncpy(last_context, context, sizeof last_context - 1);
  strncpy(last_message, message, sizeof last_message - 1);
}
static void QXI_CALL OnTitle(const char* text) { (void)text; }
static void QXI_CALL OnDialog(const char* text, int number) { (void)text, (void)number; }
static void QXI_CALL OnSubDialog(const char* text, int number) { (void)text, (void)number; }
static void QXI_CALL OnAdvance(int amount) { (void)amount; }
static void QXI_CALL OnEvent(int kind, const char* text, unsigned int number) {
  (void)kind, (void)text, (void)number;
}
static void QXI_CALL OnJournal(const char* record) { (void)record; }

static int failures = 0;
static void Check(int ok, const char* what) {
  if (!ok) {
    printf("FAILED: %s\n", what);
    ++failures;
  }
}

/* The stack pointer, read where the macro stands: a caller that keeps no frame pointer (as
   optimised hosts of other compilers do) finds its locals through it, so an export that leaves
   its arguments behind makes such a host fail, while this one, with a frame pointer, would not
   notice without looking. */
#if defined(__i386__)
#define STACK_POINTER(sp) __asm__ volatile("movl %%esp, %0" : "=r"(sp) : : "memory")
#else
#define STACK_POINTER(sp) ((sp) = 0)
#endif

/* Checks EXPRESSION, a call of the export NAME, and that the call left the stack as it was. */
#define CHECK_CALL(name, expression, what)                                      \
  do {                                                                         \
    void *before, *after;                                                      \
    int ok;                                                                    \
    STACK_POINTER(before);                                                     \
    ok = (expression);                                                         \
    STACK_POINTER(after);                                                      \
    Check(ok, what);                                                           \
    Check(before == after, name " removes its arguments from the stack");      \
  } while (0)

/* Registers fn with the export NAME, which must return it. */
#define CHECK_REGISTER(name, fn) CHECK_CALL(#name, name(fn) == fn, #name " returns its argument")

int main(int argc, char** argv) {
  /* A script path that cannot exist: the engine reports it with the path as context. */
  const char* missing = argc > 1 ? argv[1] : "Z:\\no\\such\\folder\\missing.qxs";
  CHECK_REGISTER(RegisterLogFunction, OnLog);
  CHECK_REGISTER(RegisterSetDialogTitle, OnTitle);
  CHECK_REGISTER(RegisterSetDialog, OnDialog);
  CHECK_REGISTER(RegisterSetSubDialog, OnSubDialog);
  CHECK_REGISTER(RegisterAdvanceDialog, OnAdvance);
  CHECK_REGISTER(RegisterEventFunction, OnEvent);
  CHECK_REGISTER(RegisterJournalFunction, OnJournal);
  CHECK_CALL("RegisterJournalFunction", RegisterJournalFunction(NULL) == NULL,
             "RegisterJournalFunction returns a null argument");
  CHECK_CALL("RegisterMessageBoxFunction", RegisterMessageBoxFunction(NULL) == NULL,
             "RegisterMessageBoxFunction returns a null argument");
  CHECK_CALL("RegisterExitWindowsFunction", RegisterExitWindowsFunction(NULL) == NULL,
             "RegisterExitWindowsFunction returns a null argument");
  {
    char expanded[4];
    CHECK_CALL("ExpandFolderMacros", ExpandFolderMacros("a$$b", expanded, sizeof expanded) == 3,
               "ExpandFolderMacros gives the length of its expansion");
    Check(strcmp(expanded, "a$b") == 0, "ExpandFolderMacros writes the expansion");
  }

  CHECK_CALL("ProcessQXS", (ProcessQXS(missing, "Setup"), logged == 1),
             "ProcessQXS of a missing script logs once");
  Check(strcmp(last_context, missing) == 0, "the log context is the script path");
  Check(strcmp(last_message, "Couldn't open script file") == 0, "the log message");

  CHECK_CALL("EvaluateCondition", EvaluateCondition(missing, "Anything") == 1,
             "EvaluateCondition of a missing script is 1");
  Check(logged == 1, "EvaluateCondition of a missing script logs nothing");
  if (failures == 0) printf("ok\n");
  return failures == 0 ? 0 : 1;
}
