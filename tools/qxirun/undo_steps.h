// What undoes each journal record: the script lines (with the command group that runs them)
// and the comments that say what cannot be undone and why. The records are read from a
// journal file: qxirun's "Run" lines, which mark where each run begins, and the engine's
// records (qxi.h).
#pragma once

#include <string>
#include <vector>

namespace qxirun {

/// One record of the journal file, its fields unescaped (the kind first).
struct JournalRecord {
  std::vector<std::string> fields;
  size_t run = 0;  ///< which run made it: 0 before the first "Run" line, then 1, 2, ...
  /// On a PrioritySet stored for the file written just before it (FileWrite or
  /// RestartReplace): that file record, which the PrioritySet's undo takes along.
  const JournalRecord* written_file = nullptr;
  bool paired = false;  ///< on a file record taken along by its PrioritySet
};

/// The steps that undo one record, in the order they run.
struct UndoStep {
  std::string group;                  ///< FileOps, Reg or INI; empty for comments alone
  std::vector<std::string> comments;  ///< without the leading "; "
  std::vector<std::string> lines;     ///< command lines of `group`
};

/// Reads the records of a journal file and pairs each file written with the priority stored
/// for it. `runs` receives, for each run, its script and master section ("" for records
/// before the first "Run" line, run 0); `problems` "line N: ..." for each line that is no
/// record (it is left out). Records of kinds it does not know are kept.
std::vector<JournalRecord> ReadJournal(const std::string& text, std::vector<std::string>& problems,
                                       std::vector<std::string>& runs);

/// The steps that undo `records[index]`, in the order they run; none for a deletion of what
/// the journal itself made before (a file, folder or key of the same name, ignoring letter
/// case), and none for a file record whose PrioritySet undoes both.
std::vector<UndoStep> UndoRecord(const std::vector<JournalRecord>& records, size_t index);

/// `text` as one token of a script line: in double quotes, a quote doubled, '$' doubled (every
/// text parameter expands folder macros).
std::string ScriptToken(const std::string& text);

}  // namespace qxirun
