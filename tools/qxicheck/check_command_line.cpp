// Options may come in any order before and between the scripts; "--" ends them.
#include "check_command_line.h"

namespace qxicheck {

bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
  bool options_end = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (options_end || arg.empty() || arg[0] != '-' || arg == "-") {
      options.scripts.push_back(arg);
    } else if (arg == "--") {
      options_end = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
      return true;
    } else if (arg == "--all") {
      options.settings.all = true;
    } else if (arg == "--deep") {
      options.settings.deep = true;
    } else if (arg == "--engine-messages") {
      options.engine_messages = true;
    } else if (arg == "--section" || arg == "--evaluated") {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      (arg == "--section" ? options.settings.sections : options.settings.evaluated)
          .push_back(argv[++i]);
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (options.scripts.empty()) {
    error = "no script named";
    return false;
  }
  return true;
}

const char* UsageText() {
  return "usage: qxicheck [--section NAME]... [--all] [--deep] [--evaluated NAME]...\n"
         "                [--engine-messages] SCRIPT...\n"
         "Checks each SCRIPT as QXI.dll would run it, without running anything: master\n"
         "section NAME (default: Setup), every section it names, every script it includes.\n"
         "Prints each finding as PATH:LINE: error: TEXT or PATH:LINE: warning: TEXT, then a\n"
         "count.\n"
         "  --section NAME      a master section to check (may be given more than once)\n"
         "  --all               also check the sections no checked master section reaches\n"
         "  --deep              decode every entry of the archives ExtractQXZ lines name\n"
         "  --evaluated NAME    a condition the host asks for with EvaluateCondition: not\n"
         "                      reported as unused\n"
         "  --engine-messages   print, instead, each message the engine would log, as\n"
         "                      WHEN<tab>CONTEXT<tab>MESSAGE (WHEN: always, holds, some)\n"
         "Exit status: 0 no errors, 1 errors, 2 bad usage or a script that cannot be read.\n";
}

}  // namespace qxicheck
