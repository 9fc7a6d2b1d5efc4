// CheckMode: the section walkers' check mode. The engine's own walkers, readers and tables
// walk a script exactly as a run walks it; this mode decides, where a run would act, what a
// check does instead:
// - a condition prefix is not evaluated: the line is read as if it ran, and what is found on
//   it is found "where its condition holds"; the names the Conditions section defines are
//   tracked as defined on every machine, or only where the condition of their own line holds;
// - folder macros are checked for their syntax and not resolved: a macro stays as written, so
//   a path with a '$' in it names a file of the target machine;
// - no command is executed: Include opens the included script (a relative path from the
//   host's folder) and checks its master section, nested as the engine nests it; CopyFile
//   and ExtractQXZ look for their relative source files;
// - every report of the walkers becomes a finding at the file's own line.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "checked_file.h"
#include "engine/params.h"
#include "engine/script_file.h"
#include "engine/walk_mode.h"
#include "findings.h"

namespace qxicheck {

struct CheckSettings {
  /// The master sections to check; "Setup" (as qxirun) when none is named.
  std::vector<std::string> sections;
  /// Also check the sections that no checked master section reaches.
  bool all = false;
  /// Decode every entry of the archives that ExtractQXZ lines name, and check its CRC.
  bool deep = false;
  /// Conditions the host asks for with EvaluateCondition: not reported as unused.
  std::vector<std::string> evaluated;
  /// The host's current folder, where relative paths start; empty for the folder of each
  /// script checked.
  std::string host_folder;
};

class CheckMode final : public qxi::WalkMode {
 public:
  CheckMode(const CheckSettings& settings, FindingList& findings);
  ~CheckMode() override;

  /// Checks master section `section` of the script at `path` as a host running in
  /// `host_folder` would run it with ProcessQXS; the engine's reports would carry `context`.
  /// False, with a finding, when the script cannot be opened.
  bool CheckRun(const std::string& path, const std::string& context,
                const std::string& host_folder, std::string_view section);

  /// Checks the section of `header` in `file`, which no master section reached: with the
  /// commands of `group`, or as a master section when `group` is empty.
  void CheckUnreached(const CheckedFile& file, const CheckedFile::Header& header,
                      const std::string& group);

  /// Every file checked so far, in the order first opened.
  const std::vector<CheckedFile*>& files() const { return file_order_; }

  /// The log contexts of the runs checked so far: what the engine's reports about each
  /// script the check read would carry.
  const std::set<std::string>& contexts() const { return contexts_; }

  void SectionEntered(const qxi::SectionReader& reader) override;
  bool LineRuns(const std::string& name, bool negate, const qxi::ConditionMap& conditions,
                const qxi::SectionReader& reader) override;
  std::string Folder(size_t position) override;
  void Execute(qxi::Command& command, const qxi::SectionReader& reader,
               qxi::ScriptCursor rest) override;
  void Report(const char* message, const qxi::SectionReader* where) override;

 private:
  struct Frame;
  class FrameScope;

  CheckedFile& FileFor(const std::string& path, const std::string& context,
                       const qxi::ScriptFile& script);
  /// Runs master section `section` of `script` in `frame` (which becomes the current one).
  void RunFrame(Frame& frame, qxi::ScriptFile& script, std::string_view section);
  Frame& Current() { return *frames_.back(); }
  int32_t LineOf(const Frame& frame, const qxi::SectionReader& reader) const;
  /// Whether what happens on the current line of `where` happens only where conditions hold.
  bool Guarded(const Frame& frame, const qxi::SectionReader& where) const;
  /// A finding about the current line of `where` that the engine does not log.
  void Warn(const qxi::SectionReader& where, const std::string& text);

  void DefineCondition(const qxi::Command& test, const qxi::SectionReader& reader);
  void CheckInclude(const qxi::ParamList& params, const qxi::SectionReader& where);
  void CheckCopySource(const qxi::ParamList& params, const qxi::SectionReader& where);
  void CheckArchiveSource(const qxi::ParamList& params, const qxi::SectionReader& where);

  const CheckSettings& settings_;
  FindingList& findings_;
  std::map<std::string, std::unique_ptr<CheckedFile>> files_;  // by PathKey
  std::vector<CheckedFile*> file_order_;
  std::vector<Frame*> frames_;
  std::set<std::string> contexts_;
  std::string host_folder_;
  /// Said with the next report: why the failure raised for it happened.
  std::string pending_hint_;
  /// The next report is of a failure that happens only on some machines.
  bool possible_ = false;
  int include_depth_ = 0;
  /// Includes already checked: context, master section, depth, guarded.
  std::set<std::tuple<std::string, std::string, int, bool>> includes_done_;
  /// What each archive check found (empty when nothing), by PathKey.
  std::map<std::string, std::string> archives_;
};

}  // namespace qxicheck
