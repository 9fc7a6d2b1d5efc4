// Options first or anywhere; the first two other arguments are the script and the section.
#include "setup_command_line.h"

#include <vector>

namespace qxisetup {

bool ParseSetupCommandLine(int argc, const char* const* argv, SetupOptions& options,
                           std::string& error) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return true;
    } else if (arg == "--auto-close") {
      options.auto_close = true;
    } else if (arg == "--keep-cwd") {
      options.keep_cwd = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty() || positional.size() > 2) {
    error = positional.empty() ? "no script named" : "too many arguments";
    return false;
  }
  options.script = positional[0];
  if (positional.size() == 2) options.section = positional[1];
  return true;
}

const char* SetupUsageText() {
  return "usage: qxisetup [--auto-close] [--keep-cwd] SCRIPT [SECTION]\n\n"
         "Runs master section SECTION (default: Setup) of SCRIPT with QXI.dll in a window "
         "that shows each section, each file and every failure. The script runs in its own "
         "folder: relative paths in it name files beside it.\n"
         "--auto-close closes the window when the run ends.\n"
         "--keep-cwd runs in the current folder instead of the script's folder.\n"
         "--help, -h shows this text.\n\n"
         "Exit status: 0 nothing logged, 1 something logged, 2 bad usage or no QXI.dll.\n";
}

}  // namespace qxisetup
