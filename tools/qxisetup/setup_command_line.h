// qxisetup's command line: qxisetup [--auto-close] [--keep-cwd] SCRIPT [SECTION], or --help.
#pragma once

#include <string>

namespace qxisetup {

struct SetupOptions {
  std::string script;
  std::string section = "Setup";  ///< the master section run when none is named
  /// Close the window as soon as the run ends (for unattended runs and tests).
  bool auto_close = false;
  /// Run in the caller's current folder instead of the script's own.
  bool keep_cwd = false;
  /// --help or -h: show the usage and run nothing.
  bool help = false;
};

/// Reads the arguments after the program name. Returns false, with the reason in `error`,
/// for an unknown option or a missing or extra argument; --help or -h anywhere sets `help`
/// and succeeds whatever else the line holds.
bool ParseSetupCommandLine(int argc, const char* const* argv, SetupOptions& options,
                           std::string& error);

/// The usage text, for --help and for the message box shown on bad arguments.
const char* SetupUsageText();

}  // namespace qxisetup
