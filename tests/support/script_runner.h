// Test support: scripts written to a temporary folder, run through the engine with callbacks
// that record every call as one text, in order.
#pragma once

#include <string>
#include <vector>

namespace qxi_test {

/// A temporary folder of its own, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /// The folder's path, with the platform's separators and no trailing separator.
  const std::string& path() const { return path_; }
  /// Writes `contents` to the file `name` in the folder and returns its full path.
  std::string Write(const std::string& name, const std::string& contents) const;

 private:
  std::string path_;
};

/// Every callback call since the last Clear, one text each: "log CONTEXT | MESSAGE",
/// "dialog TEXT N", "subdialog TEXT N", "advance N", "title TEXT" (and "event KIND TEXT N"
/// where events are recorded).
std::vector<std::string>& Recorded();

/// Registers the recording callbacks with the engine (linked statically), except the event
/// callback, which goes back to the engine's default, and clears.
void RecordEngineCallbacks();

/// Writes `script` to a file of `dir`, runs section `section` of it and returns what was
/// recorded. The script's path is returned in `path` when given.
std::vector<std::string> RunText(const TempDir& dir, const std::string& script,
                                 const char* section, std::string* path = nullptr);

/// RunText, recording the run's events too, each as "event KIND TEXT NUMBER" (KIND the
/// number of a QXI_EVENT_... kind).
std::vector<std::string> RunTextWithEvents(const TempDir& dir, const std::string& script,
                                           const char* section, std::string* path = nullptr);

/// The recorded texts as lines, for readable failure output.
std::string Lines(const std::vector<std::string>& calls);

}  // namespace qxi_test
