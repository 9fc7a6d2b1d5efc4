// TableCommand: a command built from its entry in the command table.
#pragma once

#include "engine/command.h"
#include "engine/command_actions.h"
#include "engine/command_table.h"

namespace qxi {

class TableCommand final : public Command {
 public:
  /// Builds the parameters the entry lists and finds the command's action.
  explicit TableCommand(const CommandDef& def);

  std::string Name() const override { return def_.name; }
  /// Nothing for the commands that report their own progress, else one dialog step.
  void Advance() override;
  /// Runs the action; raises QXErr kRunTimeError with ERROR_NOT_SUPPORTED when this build has
  /// none (the build for the host system, which has no Windows to act on).
  void Execute() override;

 private:
  const CommandDef& def_;
  CommandAction action_;
};

}  // namespace qxi
