// The uninstall script of a journal file (qxirun --make-uninstall): an ordinary QXI script
// whose master section "Uninstall" undoes the journal's records in reverse order, with
// comments that say what is not undone and why.
#pragma once

#include <string>
#include <vector>

namespace qxirun {

/// The master section of the uninstall script.
inline constexpr const char* kUninstallSection = "Uninstall";

struct UninstallScript {
  std::string text;                   ///< the script, lines ending in CR LF
  std::vector<std::string> problems;  ///< "line N: ..." for journal lines left out
};

/// The uninstall script for the journal `journal_text`; `journal_name` is named in its
/// opening comment.
UninstallScript MakeUninstallScript(const std::string& journal_text,
                                    const std::string& journal_name);

}  // namespace qxirun
