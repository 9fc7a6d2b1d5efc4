// The exports of QXI.dll: thin stdcall wrappers around the engine, exported by plain name.
#include <windows.h>

#include "engine/host_callbacks.h"
#include "engine/run_script.h"
#include "engine/message_source.h"
#include "qxi.h"

#define QXI_EXPORT extern "C" __declspec(dllexport)

QXI_EXPORT void QXI_CALL ProcessQXS(const char* script_path, const char* section_name) {
  qxi::RunScript(script_path, section_name);
}

QXI_EXPORT int QXI_CALL EvaluateCondition(const char* script_path, const char* name) {
  return qxi::EvaluateScriptCondition(script_path, name);
}

QXI_EXPORT QxiLogFunction QXI_CALL RegisterLogFunction(QxiLogFunction fn) {
  return qxi::RegisterLog(fn);
}

QXI_EXPORT QxiSetDialogTitleFunction QXI_CALL
RegisterSetDialogTitle(QxiSetDialogTitleFunction fn) {
  return qxi::RegisterDialogTitle(fn);
}

QXI_EXPORT QxiSetDialogFunction QXI_CALL RegisterSetDialog(QxiSetDialogFunction fn) {
  return qxi::RegisterDialog(fn);
}

QXI_EXPORT QxiSetSubDialogFunction QXI_CALL RegisterSetSubDialog(QxiSetSubDialogFunction fn) {
  return qxi::RegisterSubDialog(fn);
}

QXI_EXPORT QxiAdvanceDialogFunction QXI_CALL RegisterAdvanceDialog(QxiAdvanceDialogFunction fn) {
  return qxi::RegisterAdvance(fn);
}

QXI_EXPORT QxiEventFunction QXI_CALL RegisterEventFunction(QxiEventFunction fn) {
  return qxi::RegisterEvent(fn);
}

QXI_EXPORT QxiJournalFunction QXI_CALL RegisterJournalFunction(QxiJournalFunction fn) {
  return qxi::RegisterJournal(fn);
}

// The module handle is kept for the string table; nothing else happens at load or unload.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) qxi::SetMessageModule(instance);
  return TRUE;
}
