// Finding a Windows path of a script on a POSIX file system: the engine's machine ignores
// letter case, so a part that is not there as written is looked for among the folder's
// entries.
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "engine/text_compare.h"
#include "host_paths.h"

namespace qxicheck {
namespace {

bool Exists(const std::string& path, bool* is_file) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  *is_file = S_ISREG(info.st_mode);
  return true;
}

// The entry of `folder` whose name equals `name` ignoring letter case, if any.
bool FindEntry(const std::string& folder, const std::string& name, std::string* found) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()),
                                          closedir);
  if (!dir) return false;
  while (const dirent* entry = readdir(dir.get())) {
    if (qxi::NamesEqual(entry->d_name, name)) {
      *found = entry->d_name;
      return true;
    }
  }
  return false;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

}  // namespace

LocatedPath Locate(const std::string& folder, std::string_view text) {
  // Windows drops trailing dots and blanks of a part, and takes ".." by its text.
  const std::vector<std::string> parts = PathParts(text, true);
  LocatedPath located;
  located.path = folder;
  bool found = true;
  for (const std::string& part : parts) {
    std::string name = part;
    bool is_file = false;
    if (found && part != ".." && !Exists(Join(located.path, part), &is_file)) {
      found = FindEntry(located.path, part, &name);
    }
    located.path = Join(located.path, name);
  }
  if (located.path.empty()) located.path = ".";
  // A name ending in a separator is a folder's: the engine's open of it fails, so the check
  // keeps the separator rather than find the file without it.
  if (!text.empty() && (text.back() == '\\' || text.back() == '/')) located.path += '/';
  located.exists = found && Exists(located.path, &located.is_file);
  return located;
}

std::string PathKey(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

}  // namespace qxicheck
