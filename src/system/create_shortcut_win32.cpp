#include "system/create_shortcut.h"

#include <windows.h>

#include <string>

#include "system/cshortcut.h"

namespace qxi {
namespace {

/// The folder part of `path` (all of it when it has no backslash), created with every
/// folder above it and set to normal attributes. Failures show later, when the save fails.
void PrepareShortcutFolder(const std::string& path) {
  const size_t last = path.rfind('\\');
  const std::string folder = last == std::string::npos ? path : path.substr(0, last);
  for (size_t at = folder.find('\\'); at != std::string::npos; at = folder.find('\\', at + 1)) {
    CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);  // drives and existing ones fail
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

void CreateShortcut(const ParamList& params) {
  const std::string& link_file = params.Text(0);
  PrepareShortcutFolder(link_file);

  CShortcut shortcut;
  shortcut.SetPath(params.Text(1));
  shortcut.SetArguments(params.Text(2));
  if (!params.Text(3).empty()) shortcut.SetWorkingDirectory(params.Text(3));
  if (!params.Text(4).empty()) shortcut.SetIconLocation(params.Text(4), params.Integer(5));
  shortcut.Save(link_file);
}

}  // namespace qxi
