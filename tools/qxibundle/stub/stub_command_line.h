// The switches of a setup made by qxibundle and of its uninstaller, as deployment tools pass
// them: /S for a silent run, /LOG=FILE for a log of the run. Letter case does not matter.
#pragma once

#include <string>
#include <vector>

namespace qxistub {

struct StubOptions {
  bool help = false;     ///< /? : show the switches
  bool silent = false;   ///< /S
  std::string log_path;  ///< /LOG=FILE, empty when not given
};

/// Parses the arguments after the program name. Returns false with the reason in `error` for
/// an unknown switch, an empty /LOG= or a switch given twice.
bool ParseStubCommandLine(const std::vector<std::string>& args, StubOptions& options,
                          std::string& error);

/// The switches, for /? and for a bad command line.
const char* StubUsageText();

}  // namespace qxistub
