// qxibundle's command line.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace qxibundle {

/// A command line qxibundle cannot run; what() says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct BundleOptions {
  bool help = false;
  std::string list;         ///< --list SETUP.EXE: check it and list its parts instead
  std::string out;          ///< the setup program to write
  std::string source_dir;   ///< the setup folder: setup.qxs and what it reads
  std::string name;         ///< default: the setup folder's own name
  std::string version = "1.0";
  std::string publisher;
  std::string icon;         ///< an .ico file, or empty
  std::string install_dir;  ///< default: $PROGRAMFILES$\NAME
  std::string kit;          ///< folder of qxistub.exe and QXI.dll; default: qxibundle's own
  bool per_user = false;
  bool force = false;       ///< build even when the check finds errors
};

/// Parses the arguments after the program name; --help and -h alone are enough. Throws
/// UsageError for an unknown option, a missing value or folder, or a second folder.
BundleOptions ParseBundleCommandLine(const std::vector<std::string>& args);

/// The usage text.
const char* BundleUsageText();

}  // namespace qxibundle
