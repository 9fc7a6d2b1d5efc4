#include "files/system_folder_redirection.h"

#include <windows.h>

#include <string_view>

#include "engine/text_compare.h"
#include "files/file_identity.h"
#include "files/path_utils.h"

namespace qxi {
namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
// GetSystemDirectoryA and GetSystemWow64DirectoryA alike.
using GetSystemWow64DirectoryFunction = UINT(WINAPI*)(LPSTR, UINT);

// The part of `path` after `folder` ("\\NAME..." or ""), when `path` is `folder` itself or
// lies below it; nothing otherwise.
std::optional<std::string_view> BelowFolder(std::string_view path, std::string_view folder) {
  if (folder.empty() || path.size() < folder.size()) return std::nullopt;
  if (!NamesEqual(path.substr(0, folder.size()), folder)) return std::nullopt;
  std::string_view rest = path.substr(folder.size());
  if (!rest.empty() && rest.front() != '\\') return std::nullopt;
  return rest;
}

std::string FolderName(GetSystemWow64DirectoryFunction query) {
  char folder[MAX_PATH];
  const UINT length = query(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  return std::string(folder, length);
}

}  // namespace

std::optional<RedirectedFolders> CurrentRedirectedFolders() {
  // Looked up at run time: the 95 family and the first NT systems have neither function.
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return std::nullopt;
  const auto is_wow64_process = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  const auto get_wow64_directory = reinterpret_cast<GetSystemWow64DirectoryFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemWow64DirectoryA")));
  BOOL wow64 = FALSE;
  if (is_wow64_process == nullptr || get_wow64_directory == nullptr ||
      !is_wow64_process(GetCurrentProcess(), &wow64) || !wow64) {
    return std::nullopt;
  }
  RedirectedFolders folders;
  folders.system = FolderName(GetSystemDirectoryA);
  folders.wow64 = FolderName(get_wow64_directory);
  if (folders.system.empty() || folders.wow64.empty()) return std::nullopt;
  folders.native_alias = JoinPath(DirectoryOf(folders.system), "Sysnative");
  return folders;
}

std::string UndoRedirection(const std::string& path, const RedirectedFolders& folders) {
  if (auto rest = BelowFolder(path, folders.native_alias)) {
    return folders.system + std::string(*rest);
  }
  auto rest = BelowFolder(path, folders.system);
  if (!rest) return path;
  const std::string native = folders.wow64 + std::string(*rest);
  // The folder that holds the file is compared, since the file itself may not exist yet.
  // Asked of the file system: the folders Windows exempts from redirection differ between
  // its versions, and a host may turn redirection off for its thread.
  return SameFileObject(DirectoryOf(path), DirectoryOf(native)) ? native : path;
}

}  // namespace qxi
