// The two process-wide pointers, null until a host registers a function.
#include "system/host_replacements.h"

namespace qxi {
namespace {

QxiMessageBoxFunction g_message_box = nullptr;
QxiExitWindowsFunction g_exit_windows = nullptr;

}  // namespace

QxiMessageBoxFunction RegisterMessageBoxReplacement(QxiMessageBoxFunction fn) {
  g_message_box = fn;
  return fn;
}

QxiMessageBoxFunction MessageBoxReplacement() { return g_message_box; }

QxiExitWindowsFunction RegisterExitWindowsReplacement(QxiExitWindowsFunction fn) {
  g_exit_windows = fn;
  return fn;
}

QxiExitWindowsFunction ExitWindowsReplacement() { return g_exit_windows; }

}  // namespace qxi
