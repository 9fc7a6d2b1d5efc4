// WalkMode: what the section walkers do with the lines they read. A run, the default, looks
// condition prefixes up, resolves folder macros, executes commands and sends failures to the
// host's log. A check (qxicheck) walks the same lines with the same walkers and readers, and
// replaces exactly these steps: it reads every line as a run reads it and carries none out.
#pragma once

#include <cstddef>
#include <string>

#include "engine/condition_map.h"
#include "engine/script_cursor.h"

namespace qxi {

class Command;
class SectionReader;

class WalkMode {
 public:
  WalkMode() = default;
  virtual ~WalkMode();
  WalkMode(const WalkMode&) = delete;
  WalkMode& operator=(const WalkMode&) = delete;

  /// A walker starts on its section (a master section, a command section or the Conditions
  /// section), set up in its reader fields. The run does nothing.
  virtual void SectionEntered(const SectionReader& reader);

  /// Whether the line of `reader` whose prefix named `name` (negated with '!') runs: the
  /// run's answer is the condition's value in `conditions`. Raises QXErr kUndefinedCondition
  /// for a name that is not there.
  virtual bool LineRuns(const std::string& name, bool negate, const ConditionMap& conditions,
                        const SectionReader& reader);

  /// The folder that folder macro `position` stands for in a text parameter: the run's is
  /// ResolveFolder's.
  virtual std::string Folder(size_t position);

  /// Carries out `command` with the values of the line `reader` has just read; `rest` stands
  /// after the command's last parameter. The run calls Execute.
  virtual void Execute(Command& command, const SectionReader& reader, ScriptCursor rest);

  /// Sends a failure report composed by a walker: `where` is the walker whose current line
  /// failed, null for a failure of a run as a whole. The run sends `message` to the log.
  virtual void Report(const char* message, const SectionReader* where);
};

/// The mode the walkers follow: the run, unless a ScopedWalkMode chose another.
WalkMode& CurrentWalkMode();

/// Makes `mode` the walkers' mode for its lifetime, and the previous one afterwards.
class ScopedWalkMode {
 public:
  explicit ScopedWalkMode(WalkMode& mode);
  ~ScopedWalkMode();
  ScopedWalkMode(const ScopedWalkMode&) = delete;
  ScopedWalkMode& operator=(const ScopedWalkMode&) = delete;

 private:
  WalkMode* saved_;
};

}  // namespace qxi
