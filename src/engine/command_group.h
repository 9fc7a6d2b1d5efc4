// CommandGroup: a named set of commands and the walker of a command section run with them:
// header line, then per line condition prefix, command name, parameters, Execute, progress.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/condition_map.h"
#include "engine/command.h"
#include "engine/params.h"
#include "engine/qx_err.h"
#include "engine/section_reader.h"

namespace qxi {

class CommandGroup : public SectionReader {
 public:
  /// The group `name` of the command table with all its commands, in table order.
  explicit CommandGroup(const std::string& name);
  /// Sets the parameter number back to 0, then steps to the next line.
  ScriptCursor NextLine(ScriptCursor cursor) override;
  ~CommandGroup() override;

  virtual const std::string& Name() const { return name_; }

  /// Runs the section set up in the reader fields. Failures of lines are reported and
  /// skipped; only exceptions outside std::exception escape.
  virtual void RunSection(const ConditionMap& conditions);

  /// Reads the header line, gives its text and number to the host's dialog, and returns the
  /// cursor of the first command line. The header line is always consumed.
  virtual ScriptCursor BeginSection();

  /// "W, section [S] line #L Param #P"; a command name that matched none of the group's
  /// (code 3 at parameter 0) is "Unknown command, section [S] line #L".
  void ReportReadFailure(const std::exception& e) const override;

  const std::vector<std::unique_ptr<Command>>& commands() const { return commands_; }

 protected:
  /// A group of the given commands (the Conditions section's group).
  CommandGroup(std::string name, std::vector<std::unique_ptr<Command>> commands);

  /// Tells the host that the line just handled was carried out (`skipped` false) or skipped
  /// by its condition, with the section's name and the line's number.
  virtual void ReportLine(bool skipped) const;

 private:
  static std::vector<std::string> NamesOf(const std::vector<std::unique_ptr<Command>>& commands);
  /// The command the selector names, or null before any command name of the group matched.
  Command* Selected() const;
  /// Reads the rest of a line from `cursor` and runs it; raises for failures while reading.
  ScriptCursor RunLine(ScriptCursor cursor, const ConditionMap& conditions);
  /// Reports a QXErr raised by Execute: code 6 names the command first.
  void ReportExecuteFailure(const Command& command, const QXErr& e) const;

  std::string name_;
  std::vector<std::unique_ptr<Command>> commands_;
  EnumParam selector_;
};

}  // namespace qxi
