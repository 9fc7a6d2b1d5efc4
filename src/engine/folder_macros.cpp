#include "engine/folder_macros.h"

#include "engine/qx_err.h"
#include "engine/text_compare.h"

namespace qxi {

const char* const kFolderMacroList[kFolderMacroCount] = {
    "CDROM", "WINDIR", "SYSDIR", "START", "STARTUP", "PROGS", "TEMP", "DESKTOP"};

std::string ExpandFolderMacros(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c != '$') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 == text.size()) throw QXErr(kSyntaxError);
    if (text[i + 1] == '$') {
      out += '$';
      i += 2;
      continue;
    }
    size_t close = text.find('$', i + 1);
    if (close == std::string_view::npos) throw QXErr(kSyntaxError);
    std::string_view name = text.substr(i + 1, close - i - 1);
    size_t position = 0;
    while (position < kFolderMacroCount && !NamesEqual(name, kFolderMacroList[position])) {
      ++position;
    }
    if (position == kFolderMacroCount) throw QXErr(kSyntaxError);
    out += ResolveFolder(position);
    i = close + 1;
  }
  return out;
}

}  // namespace qxi
