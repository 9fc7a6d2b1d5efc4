// qxzpack: builds QXZ archives from files and directory trees, and lists, tests and extracts
// them with the engine's own reader and decoder.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "command_line.h"
#include "create_command.h"
#include "examine_commands.h"

int main(int argc, char** argv) {
  using namespace qxzpack;
  CommandLine line;
  try {
    line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    std::fprintf(stderr, "qxzpack: %s\n%s", e.what(), UsageText());
    return 2;
  }
  if (line.command == "help") {
    std::printf("%s", UsageText());
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  try {
    if (line.command == "create") {
      CreateArchive(line.create);
    } else if (line.command == "list") {
      ListArchive(line.create.archive, stdout);
    } else if (line.command == "test") {
      if (TestArchive(line.create.archive, line.verbose, stdout, stderr) > 0) return 1;
    } else {
      ExtractArchive(line.create.archive, line.directory, line.verbose);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qxzpack: %s\n", e.what());
    return 1;
  }
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "qxzpack: cannot write the output\n");
    return 1;
  }
  return 0;
}
