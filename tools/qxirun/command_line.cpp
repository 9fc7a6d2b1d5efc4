// Options may come in any order before and between the positional arguments; "--" ends them.
#include "command_line.h"

#include <vector>

namespace qxirun {

bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
  std::vector<std::string> positional;
  bool section_option = false;
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (options_end || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      options_end = true;
    } else if (arg == "--help" || arg == "-h") {
      options.mode = Options::Mode::kHelp;
      return true;
    } else if (arg == "--quiet" || arg == "-q") {
      options.quiet = true;
    } else if (arg == "--check") {
      options.check = true;
    } else if (arg == "--force") {
      options.force = true;
    } else if (arg == "--keep-cwd") {
      options.keep_cwd = true;
    } else if (arg == "--eval") {
      options.mode = Options::Mode::kEvaluate;
    } else if (arg == "--make-uninstall") {
      options.mode = Options::Mode::kMakeUninstall;
    } else if (arg == "--log" || arg == "--section" || arg == "--journal") {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      if (arg == "--log") {
        options.log_path = argv[++i];
      } else if (arg == "--journal") {
        options.journal_path = argv[++i];
      } else {
        options.name = argv[++i];
        section_option = true;
      }
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }

  if (options.force && !options.check) {
    error = "--force goes with --check";
    return false;
  }
  if (options.mode != Options::Mode::kRun) {
    const bool evaluate = options.mode == Options::Mode::kEvaluate;
    const std::string option = evaluate ? "--eval" : "--make-uninstall";
    if (section_option || options.check || !options.journal_path.empty()) {
      error = std::string(section_option  ? "--section"
                          : options.check ? "--check"
                                          : "--journal") +
              " does not go with " + option;
      return false;
    }
    if (positional.size() != 2) {
      error = option + (evaluate ? " needs SCRIPT and NAME" : " needs JOURNAL and OUT");
      return false;
    }
    options.script = positional[0];
    options.name = positional[1];
    return true;
  }
  if (positional.empty() || positional.size() > 2) {
    error = positional.empty() ? "no script named" : "too many arguments";
    return false;
  }
  options.script = positional[0];
  if (positional.size() == 2) {
    if (section_option) {
      error = "the section is named twice";
      return false;
    }
    options.name = positional[1];
  }
  return true;
}

const char* UsageText() {
  return "usage: qxirun [--quiet] [--log FILE] [--journal FILE] [--keep-cwd]\n"
         "              [--check [--force]] [--section NAME] SCRIPT [SECTION]\n"
         "       qxirun [--log FILE] [--keep-cwd] --eval SCRIPT NAME\n"
         "       qxirun --make-uninstall JOURNAL OUT\n"
         "Runs master section SECTION (default: Setup) of SCRIPT with QXI.dll, showing each\n"
         "command section and file with its progress, then a summary; or prints the value\n"
         "(1 or 0) of condition NAME of SCRIPT and exits 0; or writes OUT, a script whose\n"
         "master section Uninstall undoes the changes that JOURNAL records. The script runs\n"
         "in its own folder: relative paths in it name files beside it.\n"
         "  --quiet         show failures only: no progress, no summary\n"
         "  --log FILE      also append every failure, with its script, to FILE\n"
         "  --journal FILE  append every change the run makes to FILE\n"
         "  --keep-cwd      run in the current folder instead of the script's folder\n"
         "  --check         first check the script as qxicheck does (findings on stderr), and\n"
         "                  do not run it when the check finds errors\n"
         "  --force         run it even then\n"
         "  --section NAME  the master section to run (the same as SECTION)\n"
         "  --help, -h      show this text and exit 0\n"
         "Exit status: 0 nothing logged, 1 something logged (or the check found errors and\n"
         "nothing ran; --make-uninstall: a journal line left out), 2 bad usage, no QXI.dll,\n"
         "or a file that cannot be read or written.\n";
}

}  // namespace qxirun
