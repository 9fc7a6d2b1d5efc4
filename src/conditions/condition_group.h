// ConditionGroup: the walker of a Conditions section, with the seven tests as its only
// commands, all writing into one ConditionMap. The section has no header line.
#pragma once

#include "conditions/condition_map.h"
#include "engine/command_group.h"

namespace qxi {

class ConditionGroup final : public CommandGroup {
 public:
  /// The seven tests, bound to `conditions`.
  explicit ConditionGroup(ConditionMap& conditions);

  /// The cursor of the first line with content: no header line is read and the host's
  /// dialog is not called.
  ScriptCursor BeginSection() override;
};

}  // namespace qxi
