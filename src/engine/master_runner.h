// MasterRunner: the walker of a master section. Each line names a command group and the
// sections to run with it; the runner owns one object of each of the five groups.
#pragma once

#include <memory>
#include <vector>

#include "conditions/condition_map.h"
#include "engine/command_group.h"
#include "engine/section_reader.h"

namespace qxi {

class ScriptFile;

class MasterRunner : public SectionReader {
 public:
  /// Creates the five groups (Misc, INI, FileOps, Reg, FileCopy) for a run in `script`.
  explicit MasterRunner(const ScriptFile& script);
  ~MasterRunner() override;

  /// Walks the master section set up in the reader fields. Failures are reported and the walk
  /// goes on; only exceptions outside std::exception escape.
  void Run(const ConditionMap& conditions);

  /// "W: Master section: M line: L": the line's condition or group name could not be read.
  void ReportReadFailure(const std::exception& e) const override;

 private:
  /// Reads the group and runs each section the line names; raises for a failure before the
  /// first section name (condition, group name).
  ScriptCursor RunLine(ScriptCursor cursor, const ConditionMap& conditions);
  /// Runs one section named on the line; raises for any failure.
  ScriptCursor RunNamedSection(ScriptCursor cursor, CommandGroup& group,
                               const ConditionMap& conditions);
  /// From the start of a token that could not be read: past it, to the next blank or the
  /// line end, so that it is not read again.
  ScriptCursor SkipBadToken(ScriptCursor cursor) const;

  const ScriptFile& script_;
  std::vector<std::unique_ptr<CommandGroup>> groups_;
};

}  // namespace qxi
