#include "finding_output.h"

namespace qxicheck {
namespace {

std::string Counted(size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

std::string FindingLines(const FindingList& findings) {
  std::string text;
  for (const Finding& finding : findings.Shown()) {
    text += finding.path;
    if (finding.line > 0) text += ":" + std::to_string(finding.line);
    text += finding.severity == Severity::kError ? ": error: " : ": warning: ";
    text += finding.text + "\n";
  }
  return text;
}

std::string SummaryLine(const FindingList& findings) {
  return Counted(findings.errors(), "error") + ", " + Counted(findings.warnings(), "warning") +
         "\n";
}

std::string EngineMessageLines(const FindingList& findings) {
  std::string text;
  for (const EngineMessage& message : findings.EngineMessages()) {
    const char* when = message.reach == Reach::kAlways      ? "always"
                       : message.reach == Reach::kWhenHolds ? "holds"
                                                            : "some";
    text += std::string(when) + "\t" + message.context + "\t" + message.message + "\n";
  }
  return text;
}

}  // namespace qxicheck
