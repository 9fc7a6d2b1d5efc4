// The native build has no machine to ask: each macro stands for a fixed folder text, so that
// scripts expand the same way every time (all the fuzzer needs).
#include "engine/folder_macros.h"

namespace qxi {

std::string ResolveFolder(size_t position) {
  static const char* const kFixed[kFolderMacroCount] = {
      "D:",
      "C:\\WINDOWS",
      "C:\\WINDOWS\\SYSTEM",
      "C:\\WINDOWS\\Start Menu",
      "C:\\WINDOWS\\Start Menu\\Programs\\StartUp",
      "C:\\WINDOWS\\Start Menu\\Programs",
      "C:\\WINDOWS\\TEMP\\",
      "C:\\WINDOWS\\Desktop",
      "C:\\Program Files",
      "C:\\Setup"};
  return position < kFolderMacroCount ? kFixed[position] : "";
}

}  // namespace qxi
