// MasterRunner: the walker of a master section. Each line names a command group and the
// sections to run with it; the runner owns one object of each of the five groups. RunSection
// is a whole master run of a script.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "engine/command_group.h"
#include "engine/condition_map.h"
#include "engine/script_file.h"
#include "engine/section_reader.h"

namespace qxi {

/// The five groups in the order a master run creates them.
extern const char* const kGroupNames[5];

/// Runs master section `name` of `script` with the script's path as the log context: loads
/// the conditions, finds the section and walks it. Every failure is reported through the log;
/// only exceptions outside std::exception escape.
void RunSection(const ScriptFile& script, std::string_view name);

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
  /// Runs one section named on the line; raises for any failure.
  ScriptCursor RunNamedSection(ScriptCursor cursor, CommandGroup& group,
                               const ConditionMap& conditions);

  const ScriptFile& script_;
  std::vector<std::unique_ptr<CommandGroup>> groups_;
};

}  // namespace qxi
