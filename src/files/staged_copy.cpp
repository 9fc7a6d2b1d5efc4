#include "files/staged_copy.h"

#include <windows.h>

#include <string_view>

#include "engine/last_error.h"
#include "engine/text_compare.h"
#include "files/file_identity.h"

namespace qxi {
namespace {

// The names GetTempFileNameA gives: the prefix, up to four hexadecimal digits, the extension.
constexpr std::string_view kStagedPrefix = "QXI";
constexpr std::string_view kStagedExtension = ".TMP";

// The folder part of `path`, its backslash kept for a drive's root ("C:\"); empty without one.
std::string FolderOf(const std::string& path) {
  const size_t last = path.rfind('\\');
  if (last == std::string::npos) return "";
  return path.substr(0, last == 2 && path[1] == ':' ? last + 1 : last);
}

}  // namespace

std::string MakeStagedCopyName(const std::string& destination) {
  char name[MAX_PATH];
  if (GetTempFileNameA(FolderOf(destination).c_str(), kStagedPrefix.data(), 0, name) == 0) {
    ThrowLastError();
  }
  DeleteFileA(name);  // only the name is kept: the copy is created under it
  return name;
}

bool IsStagedCopyFor(const std::string& path, const std::string& destination) {
  const std::string_view name = std::string_view(path).substr(path.rfind('\\') + 1);
  return name.size() > kStagedPrefix.size() + kStagedExtension.size() &&
         NamesEqual(name.substr(0, kStagedPrefix.size()), kStagedPrefix) &&
         NamesEqual(name.substr(name.size() - kStagedExtension.size()), kStagedExtension) &&
         SameFileObject(FolderOf(path), FolderOf(destination));
}

}  // namespace qxi
