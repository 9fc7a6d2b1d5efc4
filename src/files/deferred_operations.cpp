#include "files/deferred_operations.h"

#include <windows.h>

#include "files/delayed_file_operations.h"
#include "files/file_identity.h"
#include "files/restart_mechanism.h"
#include "files/staged_copy.h"
#include "files/wininit_file_operations.h"

namespace qxi {
namespace {

bool UsesWininit() { return CurrentRestartMechanism() == RestartMechanism::kWininitRename; }

}  // namespace

void ScheduleReplace(const std::string& destination, const std::string& source) {
  if (UsesWininit()) {
    WininitReplace(destination, source);
  } else {
    DelayReplace(destination, source);
  }
}

void ScheduleTemporaryReplace(const std::string& destination,
                              const std::string& temporary_file) {
  // The earlier file goes only once the new record has replaced its own. Should it have
  // vanished, the system may have given its name to the new one, which must stay: the two
  // are compared as files, the earlier one named as the mechanism recorded it (perhaps by
  // its short name).
  const std::string earlier = PendingSource(destination);
  ScheduleReplace(destination, temporary_file);
  if (IsStagedCopyFor(earlier, destination) && !SameFileObject(earlier, temporary_file)) {
    SetFileAttributesA(earlier.c_str(), FILE_ATTRIBUTE_NORMAL);  // it may be read-only
    DeleteFileA(earlier.c_str());
  }
}

void ScheduleDelete(const std::string& file) {
  if (UsesWininit()) {
    WininitDelete(file);
  } else {
    DelayDelete(file);
  }
}

std::string PendingSource(const std::string& destination) {
  return UsesWininit() ? WininitSource(destination) : DelayedSource(destination);
}

}  // namespace qxi
