#include "system/create_shortcut.h"

#include <windows.h>

#include <string>

#include "files/path_utils.h"
#include "system/cshortcut.h"

namespace qxi {

void CreateShortcut(const ParamList& params) {
  const std::string& link_file = params.Text(0);
  // The folder is made with every folder above it; failures show when the save fails. A bare
  // file name has no folder to make (its whole text must not become one).
  if (link_file.find('\\') != std::string::npos) {
    MakeDirectoryChain(DirectoryOf(link_file), FILE_ATTRIBUTE_NORMAL);
  }

  CShortcut shortcut;
  shortcut.SetPath(params.Text(1));
  shortcut.SetArguments(params.Text(2));
  if (!params.Text(3).empty()) shortcut.SetWorkingDirectory(params.Text(3));
  if (!params.Text(4).empty()) shortcut.SetIconLocation(params.Text(4), params.Integer(5));
  shortcut.Save(link_file);
}

}  // namespace qxi
