// qxzpack's command line: the command, its arguments and its options.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "create_command.h"

namespace qxzpack {

/// A command line qxzpack cannot run; what() says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CommandLine {
  std::string command;    ///< "create", "list", "test", "extract", or "help" for --help and -h
  CreateOptions create;   ///< create's settings; archive is set for every command
  std::string directory;  ///< extract's destination
  bool verbose = false;
};

/// Parses the arguments after the program name. --help or -h before any "--" gives the command
/// "help" whatever else the line holds. Throws UsageError for an unknown command or option, a
/// missing or extra argument, or a value out of range.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

/// The usage text.
const char* UsageText();

}  // namespace qxzpack
