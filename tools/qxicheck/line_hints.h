// Hints: what qxicheck adds to an engine message so that an author sees at once what is wrong
// with the line (the token that names no command, a likely spelling, the parameter that
// failed). Lines are read again with the engine's own token readers.
#pragma once

#include <string>
#include <vector>

#include "engine/section_reader.h"

namespace qxicheck {

/// What the current line of `where` shows about the failure reported as `message` (the
/// walker's state is that of the failure); empty when there is nothing to add. Never raises:
/// it is called while a walker reports.
std::string LineHint(const char* message, const qxi::SectionReader& where) noexcept;

/// The tokens of the current line of `reader` (from its line_start) after its condition
/// prefix: the command or group name first. Reading stops at a token the engine cannot read,
/// or after `count` tokens.
std::vector<std::string> LineTokens(const qxi::SectionReader& reader, size_t count);

/// Why a prefix naming `name` finds no condition; `in_conditions` when the prefix is on a line
/// of the Conditions section itself.
std::string UndefinedConditionHint(const std::string& name, bool script_has_conditions,
                                   bool in_conditions);

/// The candidate closest to `word` ignoring letter case, if close enough to be a slip of the
/// pen (at most two edits, fewer than the word has letters); empty otherwise.
std::string ClosestName(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace qxicheck
