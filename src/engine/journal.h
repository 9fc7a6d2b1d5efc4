// The journal: one record for each change a command makes to the system, sent to the host's
// journal function right after the change is made (record texts: journal_text.h). Commands
// look at the system before a change, to record what was there, only while a journal
// function is registered: a run without one makes exactly the calls it always made.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qxi {

/// True while the host has a journal function registered.
bool Journaling();

/// Sends the record of `fields` (its kind first) to the journal function; nothing when none
/// is registered.
void Journal(std::initializer_list<std::string_view> fields);
void Journal(const std::vector<std::string>& fields);

/// kBeforePresent or kBeforeAbsent (journal_text.h).
const char* BeforeState(bool was_there);

}  // namespace qxi
