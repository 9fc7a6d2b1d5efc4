// TableCommand: a command built from its row.
#pragma once

#include "engine/command.h"
#include "engine/command_row.h"

namespace qxi {

class TableCommand final : public Command {
 public:
  /// Builds the parameters the row lists; `row` must outlive the command.
  explicit TableCommand(const CommandRow& row);

  std::string Name() const override { return row_.name; }
  /// Nothing for the commands that report their own progress, else one dialog step.
  void Advance() override;
  /// Runs the row's action; raises QXErr kRunTimeError with ERROR_NOT_SUPPORTED when this
  /// build has none (the build for the host system, which has no Windows to act on).
  void Execute() override;

 private:
  const CommandRow& row_;
};

}  // namespace qxi
