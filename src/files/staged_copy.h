// The staged copy of a file handed to the restart: a file "QXI....TMP" made beside its
// destination, so that the restart only renames it within one folder of one volume (the
// restart of the 95 family cannot move a file to another volume, nor can the NT family's).
#pragma once

#include <string>

namespace qxi {

/// A new unique name "QXI....TMP" in the folder of `destination`, as a full path; the file
/// the system creates to reserve it is deleted again, as MakeTempFileName does. Raises QXErr
/// kRunTimeError with the system's error when no such file can be made there.
std::string MakeStagedCopyName(const std::string& destination);

/// True when `path` names a staged copy for `destination`: a file "QXI*.TMP" (letter case
/// ignored) in the same folder, however either name spells it (a short name, say).
bool IsStagedCopyFor(const std::string& path, const std::string& destination);

}  // namespace qxi
