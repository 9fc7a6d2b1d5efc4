#include "source_tree.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <stdexcept>

#include "archive/qxz_entry_name.h"

namespace qxzpack {
namespace {

namespace fs = std::filesystem;

std::string EntryNameOf(const fs::path& relative) {
  std::string name;
  for (const fs::path& part : relative) {
    if (!name.empty()) name += '\\';
    name += part.string();
  }
  return name;
}

std::string FoldCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class Collector {
 public:
  explicit Collector(fs::path base) : base_(std::move(base)) {}

  void Add(const fs::path& disk_path, const fs::path& relative) {
    std::error_code error;
    const fs::file_status link_status = fs::symlink_status(disk_path, error);
    if (error) throw std::runtime_error(disk_path.string() + ": " + error.message());
    const fs::file_status status = fs::status(disk_path, error);
    if (error) throw std::runtime_error(disk_path.string() + ": " + error.message());
    if (fs::is_directory(status)) {
      if (fs::is_symlink(link_status)) {
        throw std::runtime_error(disk_path.string() + ": links to directories are not followed");
      }
      AddDirectory(disk_path, relative);
    } else if (fs::is_regular_file(status)) {
      AddFile(disk_path, relative);
    } else {
      throw std::runtime_error(disk_path.string() + ": not a regular file or directory");
    }
  }

  std::vector<SourceFile> Take() { return std::move(files_); }

 private:
  void AddDirectory(const fs::path& disk_path, const fs::path& relative) {
    std::vector<fs::path> children;
    std::error_code error;
    for (fs::directory_iterator it(disk_path, error), end; !error && it != end;
         it.increment(error)) {
      children.push_back(it->path().filename());
    }
    if (error) throw std::runtime_error(disk_path.string() + ": " + error.message());
    std::sort(children.begin(), children.end(),
              [](const fs::path& a, const fs::path& b) { return a.string() < b.string(); });
    for (const fs::path& child : children) {
      Add(disk_path / child, relative.empty() ? child : relative / child);
    }
  }

  void AddFile(const fs::path& disk_path, const fs::path& relative) {
    const std::string name = EntryNameOf(relative);
    if (!qxi::IsSafeEntryName(name)) {
      throw std::runtime_error(disk_path.string() + ": entry name \"" + name +
                               "\" is not a plain relative path an archive can hold");
    }
    if (!names_.insert(FoldCase(name)).second) {
      throw std::runtime_error(disk_path.string() + ": entry name \"" + name +
                               "\" is given twice (names ignore letter case)");
    }
    files_.push_back({disk_path.string(), name});
  }

  fs::path base_;
  std::vector<SourceFile> files_;
  std::set<std::string> names_;
};

}  // namespace

std::vector<SourceFile> CollectSourceFiles(const std::string& base_dir,
                                           const std::vector<std::string>& paths) {
  const fs::path base = fs::absolute(fs::path(base_dir)).lexically_normal();
  Collector collector(base);
  for (const std::string& given : paths) {
    fs::path full = (base / fs::path(given)).lexically_normal();
    if (!full.has_filename()) full = full.parent_path();  // "dir/" names "dir"
    const fs::path relative = full.lexically_relative(base);
    if (relative.empty() || *relative.begin() == "..") {
      throw std::runtime_error(given + ": not inside " + base.string());
    }
    collector.Add(full, relative == "." ? fs::path() : relative);
  }
  return collector.Take();
}

}  // namespace qxzpack
