// qxicheck's command line:
//   qxicheck [--section NAME]... [--all] [--deep] [--evaluated NAME]... [--engine-messages]
//            SCRIPT...
#pragma once

#include <string>
#include <vector>

#include "check_mode.h"

namespace qxicheck {

struct Options {
  bool help = false;
  /// Print the messages the engine would log instead of the findings.
  bool engine_messages = false;
  CheckSettings settings;
  std::vector<std::string> scripts;
};

/// Reads the arguments after the program name. Returns false, with the reason in `error`, for
/// an unknown option, an option without its value, or no script.
bool ParseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

/// The usage text, ending in a line end.
const char* UsageText();

}  // namespace qxicheck
