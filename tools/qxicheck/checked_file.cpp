#include "checked_file.h"

#include <algorithm>

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
  for (const auto& header : script.Headers()) {
    headers_.push_back({std::string(header.name), static_cast<size_t>(header.bracket - begin),
                        static_cast<size_t>(header.body - begin)});
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
