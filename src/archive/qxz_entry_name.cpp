#include "archive/qxz_entry_name.h"

#include <string_view>

#include "engine/text_compare.h"

namespace qxi {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A part that Windows would reduce to "", "." or "..": only dots and blanks.
bool IsDotsOnly(const std::string& name, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    if (name[i] != '.' && name[i] != ' ') return false;
  }
  return true;
}

// A part Windows opens as a device in any directory, whatever its extension: "SUB\LPT1.TXT"
// would print rather than create a file, "CON" would write to the console.
bool IsDeviceName(const std::string& name, size_t begin, size_t end) {
  size_t stem_end = begin;
  while (stem_end < end && name[stem_end] != '.') ++stem_end;
  while (stem_end > begin && name[stem_end - 1] == ' ') --stem_end;
  const std::string_view stem(name.data() + begin, stem_end - begin);
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (NamesEqual(stem, device)) return true;
  }
  return stem.size() == 4 && (NamesEqual(stem.substr(0, 3), "COM") ||
                              NamesEqual(stem.substr(0, 3), "LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool IsSafeEntryName(const std::string& name) {
  if (name.find(':') != std::string::npos) return false;
  size_t begin = 0;
  for (;;) {
    size_t end = begin;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    // An empty part covers the empty name, leading, doubled and trailing separators.
    if (end == begin || IsDotsOnly(name, begin, end) || IsDeviceName(name, begin, end)) {
      return false;
    }
    if (end == name.size()) return true;
    begin = end + 1;
  }
}

}  // namespace qxi
