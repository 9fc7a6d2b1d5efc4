// The commands of the files subsystem: CopyFile of the FileCopy group, and the FileOps
// commands that create, delete, rename and move single files and directories. Failures to be
// expected during an installation (a file in use) are handed to the restart through
// WININIT.INI instead of being reported.
#pragma once

#include "engine/command_row.h"

namespace qxi {

/// The line of a FileOps command: a file or directory, then its attributes or the second
/// file of a rename or move.
namespace file_line {
inline constexpr PathAt kName{0};
inline constexpr AttributesAt kAttributes{1};
inline constexpr PathAt kSource{0};
inline constexpr PathAt kDestination{1};
}  // namespace file_line

/// The line of CopyFile.
namespace copy_line {
inline constexpr PathAt kSourceDir{0};
inline constexpr PathAt kDestinationDir{1};
inline constexpr PathAt kName{2};
inline constexpr AttributesAt kAttributes{3};
inline constexpr IntegerAt kPriority{4};
}  // namespace copy_line

/// "CopyFile": CopyOneFile (copy_one_file.h) of the line's five values.
void CopyFileCommand(const ParamList& params);

/// "MakeDir": creates kName and every missing directory above it, then sets kAttributes on
/// the last one only. A directory that cannot be made is not reported.
void MakeDir(const ParamList& params);

/// "DelFile": deletes kName; when that fails for any reason (missing, in use), a NUL= line
/// for it is recorded for the restart. Never raises.
void DelFile(const ParamList& params);

/// "DelDir": DeleteDirectoryTree (del_dir.h) of kName.
void DelDir(const ParamList& params);

/// "CreateFile": creates the new, empty file kName with kAttributes. Raises QXErr
/// kRunTimeError with the Win32 error when it cannot (ERROR_FILE_EXISTS: it exists).
void CreateEmptyFile(const ParamList& params);

/// "RenameFile": renames kSource to kDestination, never replacing an existing file; when that
/// fails, destination=source is recorded for the restart.
void RenameFile(const ParamList& params);

/// "MoveFile": moves kSource to kDestination, replacing it and copying across volumes; when
/// that fails, destination=source is recorded for the restart.
void MoveFileReplacing(const ParamList& params);

inline constexpr CommandRow kFileCommands[] = {
    {"FileCopy", "CopyFile",
     {copy_line::kSourceDir("Source dir"), copy_line::kDestinationDir("Destination dir"),
      copy_line::kName("File name"), copy_line::kAttributes("Attributes"),
      copy_line::kPriority("Priority")},
     Progress::kOwn, QXI_ACTION(CopyFileCommand)},
    {"FileOps", "MakeDir",
     {file_line::kName("Directory name"), file_line::kAttributes("Directory attribs")},
     Progress::kPerLine, QXI_ACTION(MakeDir)},
    {"FileOps", "DelFile", {file_line::kName("File name")}, Progress::kPerLine,
     QXI_ACTION(DelFile)},
    {"FileOps", "DelDir", {file_line::kName("Directory name")}, Progress::kPerLine,
     QXI_ACTION(DelDir)},
    {"FileOps", "CreateFile",
     {file_line::kName("File name"), file_line::kAttributes("File attributes")},
     Progress::kPerLine, QXI_ACTION(CreateEmptyFile)},
    {"FileOps", "RenameFile",
     {file_line::kSource("Source file name"), file_line::kDestination("Destination file name")},
     Progress::kPerLine, QXI_ACTION(RenameFile)},
    {"FileOps", "MoveFile",
     {file_line::kSource("Source file name"), file_line::kDestination("Destination file name")},
     Progress::kPerLine, QXI_ACTION(MoveFileReplacing)},
};

}  // namespace qxi
