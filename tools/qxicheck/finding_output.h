// Printing a check's findings: for people and editors ("PATH:LINE: error: TEXT"), and as the
// messages the engine would log, for comparing a check with a run.
#pragma once

#include <cstdio>
#include <string>

#include "findings.h"

namespace qxicheck {

/// "PATH:LINE: SEVERITY: TEXT" (no ":LINE" for a finding without a line), one a line.
std::string FindingLines(const FindingList& findings);

/// "N errors, M warnings" (a count of 1 in the singular), with a line end.
std::string SummaryLine(const FindingList& findings);

/// "WHEN<tab>CONTEXT<tab>MESSAGE" per message the engine would log; WHEN is "always",
/// "holds" (where the conditions that guard the line hold) or "some" (on some machines).
std::string EngineMessageLines(const FindingList& findings);

}  // namespace qxicheck
