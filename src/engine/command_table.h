// The command table: every command of the five groups with its parameters, as data. The
// groups are built from it; the actions that carry the commands out are found by name.
#pragma once

#include <cstddef>
#include <memory>

#include "engine/params.h"

namespace qxi {

enum class ParamKind { kPath, kInteger, kAttributes, kRootKey, kBytes };

struct ParamDef {
  ParamKind kind;
  const char* display_name;
};

/// Whether the section walker advances the host's dialog after the command's lines, or the
/// command reports progress itself.
enum class Progress { kPerLine, kOwn };

constexpr size_t kMaxParams = 6;

struct CommandDef {
  const char* group;
  const char* name;
  size_t param_count;
  ParamDef params[kMaxParams];
  Progress progress;
};

/// The five groups in the order a master section run creates them.
extern const char* const kGroupNames[5];

extern const CommandDef kCommandTable[];
extern const size_t kCommandCount;

/// A new parameter object of the kind and display name `def` gives.
std::unique_ptr<ParamSpec> MakeParam(const ParamDef& def);

}  // namespace qxi
