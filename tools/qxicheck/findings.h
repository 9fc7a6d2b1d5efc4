// What qxicheck says about the scripts it checks: findings for people (PATH:LINE: error:
// TEXT) and, for the ones the engine itself would log, the exact message and when the engine
// would log it, so that a check can be compared with a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace qxicheck {

/// kNone: a message the engine may log on some target machines, too uncertain to show.
enum class Severity { kError, kWarning, kNone };

/// When a run logs a message the check foresees.
enum class Reach {
  kAlways,        ///< whenever the checked master section runs
  kWhenHolds,     ///< only where the conditions that guard the line hold
  kSomeMachines,  ///< only on machines whose state makes it so (a condition defined only
                  ///< there, a file the check cannot see)
};

/// A message of the engine's log: its context (the script's path as the host or the Include
/// line gave it) and its text.
struct EngineMessage {
  std::string context;
  std::string message;
  Reach reach = Reach::kAlways;
};

struct Finding {
  Severity severity = Severity::kError;
  std::string path;  ///< the file, as shown
  int32_t line = 0;  ///< the file's own line, 1-based; 0 when the finding has none
  std::string text;  ///< for people
  std::optional<EngineMessage> engine;
};

class FindingList {
 public:
  /// Files are listed in the order they were first noted; findings of a file by line.
  void NotePath(const std::string& path);

  /// Adds `finding` unless an equal one (same severity, file, line and text) is there. Its
  /// engine message joins the engine messages, with the most certain reach seen for it.
  void Add(Finding finding);

  /// The findings to show (severity error or warning), by file and line.
  std::vector<Finding> Shown() const;
  size_t errors() const { return errors_; }
  size_t warnings() const { return warnings_; }

  /// Every distinct engine message foreseen, in the order first foreseen.
  std::vector<EngineMessage> EngineMessages() const;

 private:
  std::vector<Finding> findings_;
  std::set<std::tuple<int, std::string, int32_t, std::string>> seen_;
  std::map<std::string, int> path_order_;
  std::map<std::pair<std::string, std::string>, size_t> engine_index_;
  std::vector<EngineMessage> engine_;
  size_t errors_ = 0;
  size_t warnings_ = 0;
};

}  // namespace qxicheck
