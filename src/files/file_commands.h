// The commands of the files subsystem: CopyFile of the FileCopy group, and the FileOps
// commands that create, delete, rename and move single files and directories. Failures to be
// expected during an installation (a file in use) are handed to the restart (deferred
// operations) instead of being reported.
#pragma once

#include "engine/command_row.h"

namespace qxi {
namespace file_commands {

// CopyFile's line.
inline constexpr PathAt kSourceDir{0};
inline constexpr PathAt kDestinationDir{1};
inline constexpr PathAt kFileName{2};
inline constexpr AttributesAt kCopyAttributes{3};
inline constexpr IntegerAt kPriority{4};
// A FileOps line: a file or directory, then its attributes or the second file of a rename or
// a move.
inline constexpr PathAt kName{0};
inline constexpr AttributesAt kAttributes{1};
inline constexpr PathAt kSource{0};
inline constexpr PathAt kDestination{1};
// RemoveSharedFile's line: the file, the priority it was written with, the one stored before.
inline constexpr IntegerAt kSharedPriority{1};
inline constexpr IntegerAt kPreviousPriority{2};

/// "CopyFile": installs kSourceDir\kFileName as kDestinationDir\kFileName (InstallFile; the
/// name may hold a relative sub-path, whose folders are made), the sub-dialog showing the name,
/// in blocks of 4096 bytes. kCopyAttributes are read but not applied: the destination keeps
/// the attributes that creating it gives. Raises File::Except when the source cannot be opened
/// (nothing else happens then), QXErr kRunTimeError when the destination can never be written
/// or cannot be handed to the restart, and RegKey::Except when the priority cannot be
/// recorded.
void CopyFileCommand(const ParamList& params);
/// "MakeDir": creates kName and every missing directory above it, then sets kAttributes on
/// the last one only. A directory that cannot be made is not reported.
void MakeDir(const ParamList& params);
/// "DelFile": deletes kName; when that fails for any reason (missing, in use), its deletion
/// is recorded for the restart. Raises QXErr kRunTimeError when that cannot be recorded.
void DelFile(const ParamList& params);
/// "DelDir": removes the directory kName with everything in it (subdirectories with their own
/// contents first). Raises QXErr kRunTimeError with the Win32 error of the first removal that
/// fails (a read-only or open file, a directory that stays not empty; 2 or 3 for a missing
/// directory); what was removed before stays removed. A link to a directory is removed as a
/// link: what it points to is left alone. An empty name names no directory
/// (ERROR_PATH_NOT_FOUND) rather than the root of the current drive.
void DelDir(const ParamList& params);
/// "CreateFile": creates the new, empty file kName with kAttributes. Raises QXErr
/// kRunTimeError with the Win32 error when it cannot (ERROR_FILE_EXISTS: it exists).
void CreateEmptyFile(const ParamList& params);
/// "RenameFile": renames kSource to kDestination, never replacing an existing file; when that
/// fails, the replacement of kDestination by kSource is recorded for the restart. Raises
/// QXErr kRunTimeError when that cannot be recorded.
void RenameFile(const ParamList& params);
/// "MoveFile": moves kSource to kDestination, replacing it and copying across volumes; when
/// that fails, the replacement is recorded for the restart as for RenameFile. Raises as
/// RenameFile.
void MoveFileReplacing(const ParamList& params);

// The commands that undo an installation: each says nothing of what is gone already, and
// hands a file in use to the restart.

/// "RemoveFile": deletes the file kName now (a read-only one too), or records its deletion
/// for the restart when it cannot go now (in use). A missing file, or a folder of that name,
/// is left as it is. Raises QXErr kRunTimeError only when the deletion cannot be recorded
/// for the restart either.
void RemoveFile(const ParamList& params);
/// "RemoveSharedFile": an installation wrote kName with kSharedPriority over the priority
/// kPreviousPriority (0: none) and made it. When a later writer holds a higher priority, the
/// file and that record stay; else the record goes back to the earlier writer that still
/// needs the file, which keeps it, or goes, and the file with it (as RemoveFile). Raises
/// RegKey::Except when the priorities store cannot be written, and as RemoveFile.
void RemoveSharedFile(const ParamList& params);
/// "RemoveEmptyDir": removes the directory kName when nothing is in it; anything else
/// (not empty, missing) leaves it as it is. Never raises.
void RemoveEmptyDir(const ParamList& params);
/// "MoveFileBack": moves kSource to kDestination (across volumes too) when kSource is there
/// and nothing stands at kDestination; when the move fails now (in use), at the restart.
/// Otherwise nothing happens. Raises QXErr kRunTimeError only when the move can be made
/// neither now nor at the restart.
void MoveFileBack(const ParamList& params);

inline constexpr CommandRow kRows[] = {
    {"FileCopy", "CopyFile",
     {kSourceDir("Source dir"), kDestinationDir("Destination dir"), kFileName("File name"),
      kCopyAttributes("Attributes"), kPriority("Priority")},
     QXI_ACTION(CopyFileCommand), Progress::kOwn},
    {"FileOps", "MakeDir", {kName("Directory name"), kAttributes("Directory attribs")},
     QXI_ACTION(MakeDir)},
    {"FileOps", "DelFile", {kName("File name")}, QXI_ACTION(DelFile)},
    {"FileOps", "DelDir", {kName("Directory name")}, QXI_ACTION(DelDir)},
    {"FileOps", "CreateFile", {kName("File name"), kAttributes("File attributes")},
     QXI_ACTION(CreateEmptyFile)},
    {"FileOps", "RenameFile",
     {kSource("Source file name"), kDestination("Destination file name")}, QXI_ACTION(RenameFile)},
    {"FileOps", "MoveFile", {kSource("Source file name"), kDestination("Destination file name")},
     QXI_ACTION(MoveFileReplacing)},
    {"FileOps", "RemoveFile", {kName("File name")}, QXI_ACTION(RemoveFile)},
    {"FileOps", "RemoveSharedFile",
     {kName("File name"), kSharedPriority("Priority"), kPreviousPriority("Previous priority")},
     QXI_ACTION(RemoveSharedFile)},
    {"FileOps", "RemoveEmptyDir", {kName("Directory name")}, QXI_ACTION(RemoveEmptyDir)},
    {"FileOps", "MoveFileBack",
     {kSource("Source file name"), kDestination("Destination file name")},
     QXI_ACTION(MoveFileBack)},
};

}  // namespace file_commands
}  // namespace qxi
