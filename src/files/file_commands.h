// The FileOps commands that create, delete, rename and move single files and directories.
// Failures to be expected during an installation (a file in use) are handed to the restart
// through WININIT.INI instead of being reported; DelDir is in del_dir.h.
#pragma once

#include "engine/params.h"

namespace qxi {

/// "MakeDir": creates "Directory name" and every missing directory above it, then sets
/// "Directory attribs" on the last one only. A directory that cannot be made is not reported.
void MakeDir(const ParamList& params);

/// "DelFile": deletes "File name"; when that fails for any reason (missing, in use), a
/// NUL= line for it is recorded for the restart. Never raises.
void DelFile(const ParamList& params);

/// "CreateFile": creates the new, empty file "File name" with "File attributes". Raises
/// QXErr kRunTimeError with the Win32 error when it cannot (ERROR_FILE_EXISTS: it exists).
void CreateEmptyFile(const ParamList& params);

/// "RenameFile": renames "Source file name" to "Destination file name", never replacing an
/// existing file; when that fails, destination=source is recorded for the restart.
void RenameFile(const ParamList& params);

/// "MoveFile": moves "Source file name" to "Destination file name", replacing it and
/// copying across volumes; when that fails, destination=source is recorded for the restart.
void MoveFileReplacing(const ParamList& params);

}  // namespace qxi
