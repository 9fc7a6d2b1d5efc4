// qxisetup's command line: qxisetup [--auto-close] SCRIPT [SECTION]
#pragma once

#include <string>

namespace qxisetup {

struct SetupOptions {
  std::string script;
  std::string section = "Setup";  ///< the master section run when none is named
  /// Close the window as soon as the run ends (for unattended runs and tests).
  bool auto_close = false;
};

/// Reads the arguments after the program name. Returns false, with the reason in `error`,
/// for an unknown option or a missing or extra argument.
bool ParseSetupCommandLine(int argc, const char* const* argv, SetupOptions& options,
                           std::string& error);

/// The usage text for the message box shown on bad arguments.
const char* SetupUsageText();

}  // namespace qxisetup
