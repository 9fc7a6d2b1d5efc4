// The text steps of finding the macros' folders, apart from the system calls so that they
// build and are tested everywhere: a directory query's answer, and the CD-ROM drive of a
// drive list.
#pragma once

#include <cstddef>
#include <string>

namespace qxi {

/// The folder a directory query gave: `length` is the query's result, `buffer` of
/// `buffer_size` characters its text. The empty text when the query failed (0) or the path
/// did not fit; a drive root of 3 characters (C:\) is cut to its first 2 (C:).
std::string DirectoryQueryText(size_t length, const char* buffer, size_t buffer_size);

/// The drive letter and colon of the first root in `list` (roots each ended by a NUL, the
/// list `length` characters long) for which `is_cdrom` holds; "D:" when none does.
std::string FirstCdromDrive(const char* list, size_t length, bool (*is_cdrom)(const char* root));

}  // namespace qxi
