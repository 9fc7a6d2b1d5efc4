#include "checked_file.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace qxicheck {

CheckedFile::CheckedFile(std::string path, std::string context, std::string host_folder,
                         const qxi::ScriptFile& script)
    : path_(std::move(path)), context_(std::move(context)), host_folder_(std::move(host_folder)) {
  const char* begin = script.text_begin();
  const char* end = script.text_end();
  line_starts_.push_back(0);
  for (const char* p = begin; p < end; ++p) {
    if (*p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'))) {
      line_starts_.push_back(static_cast<size_t>(p + 1 - begin));
    }
  }
  std::map<std::string_view, size_t, qxi::NameLessOp> first_of_name;
  for (const auto& header : script.Headers()) {
    const size_t first = first_of_name.emplace(header.name, headers_.size()).first->second;
    headers_.push_back({std::string(header.name), static_cast<size_t>(header.bracket - begin),
                        static_cast<size_t>(header.body - begin), first});
  }
}

int32_t CheckedFile::LineAt(size_t offset) const {
  auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  return static_cast<int32_t>(after - line_starts_.begin());
}

bool CheckedFile::HasSection(std::string_view name) const {
  for (const Header& header : headers_) {
    if (qxi::NamesEqual(header.name, name)) return true;
  }
  return false;
}

void CheckedFile::NoteUse(const std::string& name) {
  auto found = definitions_.find(name);
  if (found != definitions_.end()) found->second.used = true;
}

}  // namespace qxicheck
