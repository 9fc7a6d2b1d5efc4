// The exports of QXI.dll: thin stdcall wrappers around the engine, exported by plain name.
#include <windows.h>

#include <cstring>
#include <exception>
#include <string>

#include "engine/folder_macros.h"
#include "engine/host_callbacks.h"
#include "engine/run_script.h"
#include "engine/message_source.h"
#include "qxi.h"
#include "system/host_replacements.h"

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

QXI_EXPORT QxiMessageBoxFunction QXI_CALL RegisterMessageBoxFunction(QxiMessageBoxFunction fn) {
  return qxi::RegisterMessageBoxReplacement(fn);
}

QXI_EXPORT QxiExitWindowsFunction QXI_CALL
RegisterExitWindowsFunction(QxiExitWindowsFunction fn) {
  return qxi::RegisterExitWindowsReplacement(fn);
}

QXI_EXPORT int QXI_CALL ExpandFolderMacros(const char* text, char* buffer, int size) {
  if (text == nullptr) return -1;
  try {
    const std::string expanded = qxi::ExpandFolderMacros(text);
    // Beyond an int the length cannot be told; no folder is that long.
    if (expanded.size() >= 0x7FFFFFFF) return -1;
    const int length = static_cast<int>(expanded.size());
    if (buffer != nullptr && length < size) {
      std::memcpy(buffer, expanded.c_str(), expanded.size() + 1);
    }
    return length;
  } catch (...) {
    // A refused macro, or memory or a shell-folder value that could not be had: nothing to
    // give, and no run to report to.
    return -1;
  }
}

// The module handle is kept for the string table; nothing else happens at load or unload.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) qxi::SetMessageModule(instance);
  return TRUE;
}
