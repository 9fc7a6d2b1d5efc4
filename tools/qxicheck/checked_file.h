// CheckedFile: what a check learns about one script file over all the runs that walk it:
// where its lines begin, its section headers, which sections were walked, and the conditions
// its Conditions section defines with the ones its lines use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script_file.h"
#include "engine/text_compare.h"

namespace qxicheck {

class CheckedFile {
 public:
  /// A section header: its name, where the header and the body begin (offsets), and the
  /// index of the first header of that name (FindSection finds only that one).
  struct Header {
    std::string name;
    size_t bracket;
    size_t body;
    size_t first;
  };
  /// A condition the Conditions section defines: the line of its first definition.
  struct Definition {
    int32_t line;
    bool used = false;
  };

  /// The file at `path` (as shown and opened), learnt from its open `script`; `context` is
  /// the path the engine's reports about it carry, `host_folder` where the host that runs it
  /// runs (relative paths start there).
  CheckedFile(std::string path, std::string context, std::string host_folder,
              const qxi::ScriptFile& script);

  const std::string& path() const { return path_; }
  const std::string& context() const { return context_; }
  const std::string& host_folder() const { return host_folder_; }

  /// The file's own line (1-based) of the character at `offset`: a line ends at LF, CR LF or
  /// CR.
  int32_t LineAt(size_t offset) const;

  const std::vector<Header>& headers() const { return headers_; }
  /// Whether FindSection finds a section `name` in the file.
  bool HasSection(std::string_view name) const;

  /// Notes that a walker started on the section whose body begins at `offset`.
  void NoteWalked(size_t offset) { walked_.insert(offset); }
  bool Walked(size_t offset) const { return walked_.count(offset) != 0; }

  /// Notes a definition of `name` at `line` (the first one stays).
  void NoteDefinition(const std::string& name, int32_t line) { definitions_.emplace(name, Definition{line}); }
  /// Notes that a prefix names `name`.
  void NoteUse(const std::string& name);
  const std::map<std::string, Definition, qxi::NameLessOp>& definitions() const {
    return definitions_;
  }

 private:
  std::string path_;
  std::string context_;
  std::string host_folder_;
  std::vector<size_t> line_starts_;
  std::vector<Header> headers_;
  std::set<size_t> walked_;
  std::map<std::string, Definition, qxi::NameLessOp> definitions_;
};

}  // namespace qxicheck
