// qxirun's command line:
//   qxirun [--quiet] [--log FILE] [--journal FILE] [--keep-cwd] [--check [--force]]
//          [--section NAME] SCRIPT [SECTION]
//   qxirun [--log FILE] [--keep-cwd] --eval SCRIPT NAME
//   qxirun --make-uninstall JOURNAL OUT
#pragma once

#include <string>

namespace qxirun {

/// The master section run when none is named.
inline constexpr const char* kDefaultSection = "Setup";

struct Options {
  enum class Mode { kRun, kEvaluate, kMakeUninstall, kHelp };
  Mode mode = Mode::kRun;
  std::string script;
  /// The master section (kRun), the condition name (kEvaluate), or the uninstall script to
  /// write (kMakeUninstall, whose `script` is the journal).
  std::string name = kDefaultSection;
  /// Empty for no log file.
  std::string log_path;
  /// Empty for no journal: the run's journal is appended to this file (kRun).
  std::string journal_path;
  bool quiet = false;
  /// Check the script as qxicheck does before running it; refuse to run it on errors unless
  /// `force`.
  bool check = false;
  bool force = false;
  /// Run in the caller's current folder instead of the script's own.
  bool keep_cwd = false;
};

/// Reads the arguments after the program name. Returns false, with the reason in `error`,
/// for an unknown option, a missing or extra argument, or a section named twice.
bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

/// The usage text, ending in a line end.
const char* UsageText();

}  // namespace qxirun
