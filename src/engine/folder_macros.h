// Folder macros: $NAME$ in a text parameter stands for a folder of the machine, $$ for one
// '$'. The expansion is text and lives here; the folders themselves come from ResolveFolder,
// which the paths subsystem supplies for each build (the Windows build asks the system afresh
// for every occurrence, the native build gives fixed texts).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qxi {

/// The eight macro names; a name's position selects how its folder is found.
constexpr size_t kFolderMacroCount = 8;
extern const char* const kFolderMacroList[kFolderMacroCount];

enum FolderMacro : size_t {
  kCdrom = 0,
  kWinDir = 1,
  kSysDir = 2,
  kStart = 3,
  kStartup = 4,
  kProgs = 5,
  kTemp = 6,
  kDesktop = 7,
};

/// The folder text of macro `position`, defined by the paths subsystem. Raises only what the
/// registry wrapper raises for the shell's folder values.
std::string ResolveFolder(size_t position);

/// `text` with every $NAME$ replaced by ResolveFolder of its position (names compared
/// ignoring ASCII case, whole name) and every $$ by '$'. Replacements are not scanned again.
/// Raises QXErr kSyntaxError for a lone '$' at the end, a missing closing '$' or an unknown
/// name.
std::string ExpandFolderMacros(std::string_view text);

}  // namespace qxi
