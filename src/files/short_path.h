// Short (8.3) names for the restart of the Windows 95 family, which carries out [Rename] of
// WININIT.INI before long names are available: it acts only on short names, and it splits
// each line at its first '=', which no short name holds.
#pragma once

#include <string>
#include <string_view>

namespace qxi {

/// True when `name`, one part of a path, is a short name: 1 to 8 characters, optionally a
/// dot and 1 to 3 more, none of them a blank, a control character or one of "*+,/:;<=>?[\]|
/// (bytes from 128 up are allowed).
bool IsShortName(std::string_view name);

/// The short form of the full path `path` (a drive, then its parts): the system's short name
/// of an existing file or folder; for a file that does not exist yet, its folder's short name
/// joined with its own name, which must be a short name already. Every part of the result is
/// a short name. Raises QXErr kRunTimeError with the system's error (ERROR_INVALID_NAME for a
/// part without a short form, or a path that does not start with a drive).
std::string ShortPathForRestart(const std::string& path);

}  // namespace qxi
