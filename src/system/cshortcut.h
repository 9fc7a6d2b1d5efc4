// CShortcut: the shell's link object for the life of one shortcut. Every failure is told only
// on the debugger output (OutputDebugStringA); later steps still do what they can.
#pragma once

#include <shlobj.h>

#include <string>

#include "system/com_ptr.h"

namespace qxi {

class CShortcut {
 public:
  /// Has COM and OLE on this thread for the run (ComForRun) and creates the link object. On
  /// failure writes "CShortcut: CoInitialize failed", "CShortcut: CoCreateInstance failed" (no link object)
  /// or "CShortcut: QueryInterface failed" (setters work, Save does nothing).
  CShortcut();
  /// Releases the interfaces; COM stays initialised until the run ends.
  ~CShortcut() = default;
  CShortcut(const CShortcut&) = delete;
  CShortcut& operator=(const CShortcut&) = delete;

  /// Each passes its value to the link object's method of the same name (a failure writes
  /// "CShortcut::<method> failed"). True when the link object exists, whatever the shell
  /// answered; false, doing nothing, when it does not.
  bool SetPath(const std::string& path);
  bool SetArguments(const std::string& arguments);
  bool SetWorkingDirectory(const std::string& directory);
  bool SetIconLocation(const std::string& file, int index);

  /// Writes the link to `path` (no extension added). False without a message when there is
  /// no link object or no IPersistFile; false with "CShortcut: Save failed" when the path
  /// does not convert (longer than MAX_PATH - 1 wide characters) or the shell cannot save.
  bool Save(const std::string& path);

 private:
  ComPtr<IPersistFile> persist_file_;
  ComPtr<IShellLinkA> shell_link_;
};

}  // namespace qxi
