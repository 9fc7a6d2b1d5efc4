#include "system/system_commands.h"

#include <windows.h>

#include <string>

#include "engine/journal.h"
#include "files/file_journal.h"
#include "files/path_utils.h"
#include "system/cshortcut.h"

namespace qxi {

void system_commands::CreateShortcut(const ParamList& params) {
  const std::string& link_file = params[kLinkFile];
  // The folder is made with every folder above it; failures show when the save fails. A bare
  // file name has no folder to make (its whole text must not become one).
  if (link_file.find('\\') != std::string::npos) {
    MakeDirectoryChain(DirectoryOf(link_file), FILE_ATTRIBUTE_NORMAL);
  }

  CShortcut shortcut;
  shortcut.SetPath(params[kTarget]);
  shortcut.SetArguments(params[kArguments]);
  if (!params[kWorkDirectory].empty()) shortcut.SetWorkingDirectory(params[kWorkDirectory]);
  if (!params[kIconFile].empty()) shortcut.SetIconLocation(params[kIconFile], params[kIconIndex]);
  const bool existed = Journaling() && IsPresent(link_file);
  if (shortcut.Save(link_file)) JournalFileWrite(link_file, existed);
}

}  // namespace qxi
