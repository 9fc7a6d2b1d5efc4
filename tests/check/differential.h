// The differential comparison: what a check foresees against what a run of the engine logged
// for the same script on a real machine.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "findings.h"

namespace qxi_differential {

/// One log line of a run: the context and the message the log callback received.
struct Logged {
  std::string context;
  std::string message;
  bool operator<(const Logged& other) const {
    return context != other.context ? context < other.context : message < other.message;
  }
};

struct Comparison {
  size_t reports = 0;      ///< distinct log lines of the run
  size_t independent = 0;  ///< of those, the ones no state of the machine decides
  size_t matched = 0;      ///< independent reports the check foresaw
  std::vector<Logged> missed;                            ///< independent, not foreseen
  std::vector<qxicheck::EngineMessage> false_findings;  ///< foreseen always, not logged
  size_t not_logged = 0;   ///< foreseen where conditions hold or on some machines, not logged
};

/// Whether the engine logs `report` whatever the state of the machine: a failure to read a
/// line (syntax, unknown names, undefined conditions, sections not found) or Include runs
/// nested too deep, in a script the check read (`checked` holds their log contexts) or of a
/// script that could not be opened (the empty context). Failures of the machine (files,
/// registry, processes, archives) are not, nor is anything in a script of the machine that
/// the check could not see (an Include by an absolute path or a folder macro).
bool IsMachineIndependent(const Logged& report, const std::set<std::string>& checked);

/// Compares the log of a run with the messages a check foresaw for it.
Comparison Compare(const std::vector<Logged>& logged,
                   const std::vector<qxicheck::EngineMessage>& foreseen,
                   const std::set<std::string>& checked);

}  // namespace qxi_differential
