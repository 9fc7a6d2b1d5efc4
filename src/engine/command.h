// Command: the base of every script command. It owns its parameters; a section walker reads
// a line into them and then calls Execute, then the progress hook Advance.
#pragma once

#include <string>

#include "engine/params.h"

namespace qxi {

class Command {
 public:
  Command() = default;
  virtual ~Command();
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  /// The command's script name, for example "CopyFile".
  virtual std::string Name() const = 0;
  /// Progress after each line that selects this command: by default one step of the host's
  /// dialog.
  virtual void Advance();
  /// Carries out the command with the values of the line last read. Raises QXErr or a
  /// wrapper's exception on failure.
  virtual void Execute() = 0;

  ParamList& params() { return params_; }
  const ParamList& params() const { return params_; }

 protected:
  ParamList params_;
};

}  // namespace qxi
