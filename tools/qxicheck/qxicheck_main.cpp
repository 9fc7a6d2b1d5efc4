// qxicheck: finds, without running anything, what QXI.dll would report about a script at
// install time, with the engine's own reader, tables and messages.
#include <cstdio>

#include "check_command_line.h"
#include "finding_output.h"
#include "script_checker.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitErrors = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char** argv) {
  qxicheck::Options options;
  std::string error;
  if (!qxicheck::ParseCommandLine(argc, argv, options, error)) {
    std::fprintf(stderr, "qxicheck: %s\n%s", error.c_str(), qxicheck::UsageText());
    return kExitUsage;
  }
  if (options.help) {
    std::printf("%s", qxicheck::UsageText());
    return kExitClean;
  }
  qxicheck::ScriptChecker checker(options.settings);
  bool readable = true;
  for (const std::string& script : options.scripts) readable = checker.Check(script) && readable;
  checker.Finish();

  const qxicheck::FindingList& findings = checker.findings();
  if (options.engine_messages) {
    std::fputs(qxicheck::EngineMessageLines(findings).c_str(), stdout);
  } else {
    std::fputs(qxicheck::FindingLines(findings).c_str(), stdout);
    std::fputs(qxicheck::SummaryLine(findings).c_str(), stdout);
  }
  if (!readable) return kExitUsage;
  return findings.errors() == 0 ? kExitClean : kExitErrors;
}
