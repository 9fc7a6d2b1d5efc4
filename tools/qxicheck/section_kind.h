// How a section that no master section reaches reads best, for qxicheck --all: as a master
// section (its first line names a group), or as a command section of the group that most of
// its command names belong to.
#pragma once

#include <string>

#include "engine/script_file.h"

namespace qxicheck {

struct SectionKind {
  bool master = false;
  std::string group;  ///< for a command section; empty when no line names a known command
};

/// The kind of the section whose body begins at `body` in `script`.
SectionKind GuessSectionKind(const qxi::ScriptFile& script, const char* body);

}  // namespace qxicheck
