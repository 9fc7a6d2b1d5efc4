// Whole values and whole sections of INI files, read and extended through the Win32 profile
// functions only: the engine never parses an INI file itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qxi {

/// The value of `key` in `section` of the profile file `file`, however long; empty when the
/// key is absent.
std::string ReadProfileValue(const std::string& file, const std::string& section,
                             const std::string& key);

/// The lines of `section` of `file` as the platform lists them: each line followed by a NUL,
/// without the list's closing NUL; empty for an absent section or one without lines. The
/// whole section is read, however large.
std::string ReadProfileSection(const std::string& file, const std::string& section);

/// True when `section` of `file` holds at least one line (asked with a 3-byte buffer, which
/// is all the answer needs).
bool SectionHasLines(const std::string& file, const std::string& section);

/// Adds `line` at the end of `section` of `file` unless an equal line (ignoring ASCII letter
/// case) is there already; an absent section is created with that line. The section is
/// rewritten whole, its old lines in their order first. Lines are added even when their key
/// is present already. Returns false when the write failed (its error is the last error);
/// true when the line was written or was there already.
bool AddProfileLine(const std::string& file, const std::string& section,
                    const std::string& line);

/// Removes the first line of `section` of `file` equal to `line` (ignoring ASCII letter case)
/// by rewriting the section without it; a section left without lines stays as a header. True
/// when a line was removed (the platform's answer).
bool RemoveProfileLine(const std::string& file, const std::string& section,
                       const std::string& line);

/// True when a section list as ReadProfileSection gives it holds a line equal to `line`
/// (ignoring ASCII letter case).
bool SectionHoldsLine(std::string_view lines, std::string_view line);

/// The value of `key` in a section list as ReadProfileSection gives it: what follows the first
/// '=' of the first line whose name before it equals `key` (ignoring ASCII letter case), as
/// the file holds it; nothing when no line names the key.
std::optional<std::string> ValueInSection(std::string_view lines, std::string_view key);

/// True when `file` has a section `section`, with lines or without.
bool SectionExists(const std::string& file, const std::string& section);

/// The path of `file` as the profile functions find it: a name without a folder in the
/// Windows directory, any other completed against the current folder.
std::string ProfileFilePath(const std::string& file);

}  // namespace qxi
