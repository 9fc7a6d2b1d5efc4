#include "engine/script_file.h"

#include "engine/qx_err.h"

namespace qxi {

ScriptFile::ScriptFile(const char* path) : map_(path), sections_(map_.begin(), map_.end()) {
  if (IsOpen()) path_ = path;
}

ScriptFile::~ScriptFile() = default;

const char* ScriptFile::FindSection(std::string_view name) const {
  if (name.empty()) return sections_.start();
  const char* body = sections_.Find(name);
  if (body == nullptr) throw QXErr(kSectionNotFound);
  return body;
}

}  // namespace qxi
