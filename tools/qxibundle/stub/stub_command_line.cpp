#include "stub_command_line.h"

namespace qxistub {
namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

bool ParseStubCommandLine(const std::vector<std::string>& args, StubOptions& options,
                          std::string& error) {
  bool logged = false;
  for (const std::string& arg : args) {
    const std::string upper = Upper(arg);
    if (upper == "/?" || upper == "/HELP") {
      options.help = true;
    } else if (upper == "/S") {
      if (options.silent) {
        error = "/S is given twice";
        return false;
      }
      options.silent = true;
    } else if (upper.compare(0, 5, "/LOG=") == 0) {
      if (logged) {
        error = "/LOG= is given twice";
        return false;
      }
      options.log_path = arg.substr(5);
      logged = true;
      if (options.log_path.empty()) {
        error = "/LOG= names no file";
        return false;
      }
    } else {
      error = "unknown switch " + arg;
      return false;
    }
  }
  return true;
}

const char* StubUsageText() {
  return "Switches:\n"
         "  /S          silent: no window, nothing waits for a person; a restart the\n"
         "              installation needs is left to the caller (exit status 3010)\n"
         "  /LOG=FILE   write every logged line of the run and a summary to FILE\n"
         "  /?          show this text\n"
         "Exit status: 0 nothing reported, 1 something reported, 3010 complete only after\n"
         "the next restart, 2 bad switches or a damaged setup file.\n";
}

}  // namespace qxistub
