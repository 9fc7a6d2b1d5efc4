// Folder macros: $NAME$ in a text parameter stands for a folder of the machine, $$ for one
// '$'. The text steps live here (the expansion, and making the system's answers into folder
// texts); the folders themselves come from ResolveFolder, which the paths subsystem supplies
// for each build (the Windows build asks the system afresh for every occurrence, the native
// build gives fixed texts).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qxi {

/// The macro names; a name's position selects how its folder is found.
constexpr size_t kFolderMacroCount = 10;
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
  kProgramFiles = 8,  ///< the folder for programs of the engine's own kind (32- or 64-bit)
  kScriptDir = 9,     ///< the folder of the script whose lines are read
};

/// Makes `path` the script whose folder $SCRIPTDIR$ names while this object lives, and puts
/// the earlier one back afterwards, so that a script run by Include has its own folder.
class ScopedMacroScript {
 public:
  explicit ScopedMacroScript(const std::string& path);
  ~ScopedMacroScript();
  ScopedMacroScript(const ScopedMacroScript&) = delete;
  ScopedMacroScript& operator=(const ScopedMacroScript&) = delete;

 private:
  std::string saved_;
};

/// The path of the innermost ScopedMacroScript, as it was given; empty outside one.
const std::string& MacroScriptPath();

/// The folder of the file `full_path` names: the part before its last backslash, a drive
/// root cut to its drive (C:\setup.qxs gives C:); empty when there is no backslash.
std::string FolderOfScript(const std::string& full_path);

/// The folder text of macro `position`, defined by the paths subsystem. Raises only what the
/// registry wrapper raises for the shell's folder values.
std::string ResolveFolder(size_t position);

/// `text` with every $NAME$ replaced by the folder of its position (names compared ignoring
/// ASCII case, whole name; the folder as the walkers' mode gives it, in a run ResolveFolder's)
/// and every $$ by '$'. Replacements are not scanned again.
/// Raises QXErr kSyntaxError for a lone '$' at the end, a missing closing '$' or an unknown
/// name.
std::string ExpandFolderMacros(std::string_view text);

/// The folder a directory query gave: `length` is the query's result, `buffer` of
/// `buffer_size` characters its text. The empty text when the query failed (0) or the path
/// did not fit; a drive root of 3 characters (C:\) is cut to its first 2 (C:).
std::string DirectoryQueryText(size_t length, const char* buffer, size_t buffer_size);

/// The drive letter and colon of the first root in `list` (roots each ended by a NUL, the
/// list `length` characters long) for which `is_cdrom` holds; "D:" when none does.
std::string FirstCdromDrive(const char* list, size_t length, bool (*is_cdrom)(const char* root));

}  // namespace qxi
