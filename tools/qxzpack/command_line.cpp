#include "command_line.h"

#include <cerrno>
#include <cstdlib>

namespace qxzpack {
namespace {

uint32_t ParseUnsigned32(const std::string& text, const std::string& option) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
    throw UsageError(option + " needs a decimal number, not \"" + text + "\"");
  }
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (errno != 0 || value > 0xFFFFFFFFull) {
    throw UsageError(option + " " + text + " is out of range (0 to 4294967295)");
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

const char* UsageText() {
  return "usage: qxzpack create ARCHIVE [--dict 1024|2048|4096] [--ascii|--binary|--auto]\n"
         "                      [--best] [--priority N] [-C DIR] [-v] PATH...\n"
         "       qxzpack list ARCHIVE\n"
         "       qxzpack test [-v] ARCHIVE\n"
         "       qxzpack extract [-v] ARCHIVE DIR\n"
         "       qxzpack --help\n"
         "create packs the files and folders PATH (found from DIR, the current folder by\n"
         "default) into a new QXZ archive for the script command ExtractQXZ; list shows its\n"
         "entries, test decompresses each and checks its CRC, extract unpacks it below DIR.\n"
         "  --priority N   every entry's priority, 0 (none) to 4294967295\n"
         "  --dict SIZE    the dictionary size of the compression (default 4096)\n"
         "  --ascii, --binary, --auto   text coding, plain literals, or per file (default)\n"
         "  --best         search harder for repeats: a little smaller, slower to pack\n"
         "  -v             name each entry as it is packed, tested or extracted\n"
         "Exit status: 0 success, 1 the command failed, 2 a command line qxzpack cannot run.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  // A request for help anywhere among the options wins over everything else on the line.
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") {
      CommandLine help;
      help.command = "help";
      return help;
    }
  }
  if (args.empty()) throw UsageError("no command given");
  CommandLine line;
  line.command = args[0];
  if (line.command != "create" && line.command != "list" && line.command != "test" &&
      line.command != "extract") {
    throw UsageError("unknown command \"" + line.command + "\"");
  }
  const bool is_create = line.command == "create";

  std::vector<std::string> operands;
  bool options_ended = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    if (options_ended || arg.empty() || arg[0] != '-' || arg == "-") {
      operands.push_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (arg == "-v" || arg == "--verbose") {
      line.verbose = true;
    } else if (is_create && arg == "--dict") {
      const uint32_t size = ParseUnsigned32(value(), arg);
      if (size != 1024 && size != 2048 && size != 4096) {
        throw UsageError("--dict must be 1024, 2048 or 4096");
      }
      line.create.dictionary_size = size;
    } else if (is_create && arg == "--ascii") {
      line.create.literals = LiteralChoice::kText;
    } else if (is_create && arg == "--binary") {
      line.create.literals = LiteralChoice::kBinary;
    } else if (is_create && arg == "--auto") {
      line.create.literals = LiteralChoice::kAuto;
    } else if (is_create && arg == "--best") {
      line.create.effort = qxi::ImplodeEffort::kBest;
    } else if (is_create && arg == "--priority") {
      line.create.priority = ParseUnsigned32(value(), arg);
    } else if (is_create && arg == "-C") {
      line.create.base_dir = value();
    } else {
      throw UsageError("unknown option \"" + arg + "\" for " + line.command);
    }
  }
  line.create.verbose = line.verbose;

  if (operands.empty()) throw UsageError(line.command + " needs an archive");
  line.create.archive = operands[0];
  if (is_create) {
    line.create.paths.assign(operands.begin() + 1, operands.end());
    if (line.create.paths.empty()) throw UsageError("create needs at least one PATH");
  } else if (line.command == "extract") {
    if (operands.size() != 2) throw UsageError("extract needs ARCHIVE and DIR");
    line.directory = operands[1];
  } else if (operands.size() != 1) {
    throw UsageError(line.command + " takes only ARCHIVE");
  }
  return line;
}

}  // namespace qxzpack
