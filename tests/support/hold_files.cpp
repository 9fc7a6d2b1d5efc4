// hold_files NAME FILE...: keeps every FILE open for reading and writing with share mode 0,
// so that no other process can open, replace or delete it, until told to let go. NAME names
// two events made by the caller: NAME_ready is set once every file is held, NAME_release
// ends the program. Exit status: 0 after a release, 2 when a file cannot be opened, 3 when
// the events are missing, 4 when no release came within five minutes.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/unique_handle.h"

namespace {

constexpr DWORD kLongestHold = 5 * 60 * 1000;  // ms; a caller that died must not leave us

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 3;
  std::string name = argv[1];
  qxi::UniqueKernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, (name + "_ready").c_str()));
  qxi::UniqueKernelHandle release(OpenEventA(SYNCHRONIZE, FALSE, (name + "_release").c_str()));
  if (!ready || !release) return 3;
  std::vector<qxi::UniqueFileHandle> held;
  for (int i = 2; i < argc; ++i) {
    held.emplace_back(CreateFileA(argv[i], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held.back()) return 2;
  }
  SetEvent(ready.get());
  return WaitForSingleObject(release.get(), kLongestHold) == WAIT_OBJECT_0 ? 0 : 4;
}
