// The copy step of CopyFile: installs one file from a source folder into a destination folder
// under the priority rule, reporting progress by bytes, and hands a destination that cannot
// be written to the next restart.
#pragma once

#include <cstdint>
#include <string>

namespace qxi {

/// Copies `source_dir`\`name` to `destination_dir`\`name` (`name` may hold a relative
/// sub-path; the folders it names are created). Calls the sub-dialog callback once with `name`
/// and the source size, then, unless CheckPriority refuses the destination path, copies in
/// blocks of 4096 bytes with one advance per block and records `priority`. When the destination
/// cannot be written the replacement is scheduled for the restart and the advance receives the
/// whole size. `attributes` are read from the script but not applied: the destination keeps
/// the attributes that creating it gives. Raises File::Except when the source cannot be opened
/// (nothing else happens then) and RegKey::Except when the priority cannot be recorded.
void CopyOneFile(const std::string& source_dir, const std::string& destination_dir,
                 const std::string& name, uint32_t attributes, uint32_t priority);

}  // namespace qxi
