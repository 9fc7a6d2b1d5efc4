#include "check_mode.h"

#include "archive/extract_qxz.h"
#include "archive_check.h"
#include "engine/command.h"
#include "engine/command_group.h"
#include "engine/command_row.h"
#include "engine/conditions_section.h"
#include "engine/engine_commands.h"
#include "engine/folder_macros.h"
#include "engine/master_runner.h"
#include "engine/qx_err.h"
#include "files/file_commands.h"
#include "files/path_utils.h"
#include "host_paths.h"
#include "line_hints.h"

namespace qxicheck {

// One run of a master section being checked: the top-level run of a script, or a run that an
// Include line starts.
struct CheckMode::Frame {
  CheckedFile* file = nullptr;  // null when the script could not be opened
  const qxi::ScriptFile* script = nullptr;
  std::string context;  // what the engine's reports of this run carry
  std::string section;  // the master section the run looks for
  bool guarded = false;  // the run happens only where conditions hold
  // Where reports of the run as a whole go: the Include line, or the script itself.
  std::string entry_path;
  int32_t entry_line = 0;
  std::string missing_path;  // the script that could not be opened, as looked for
  // The conditions defined so far: true when on every machine, false when only where the
  // condition of their own line holds.
  std::map<std::string, bool, qxi::NameLessOp> defined;
  // The prefix of the master line at master_prefixed was read; likewise the prefix of the
  // line at `prefixed` of `prefixed_reader`.
  const qxi::SectionReader* master = nullptr;
  const char* master_prefixed = nullptr;
  const qxi::SectionReader* prefixed_reader = nullptr;
  const char* prefixed = nullptr;
};

namespace {

// Whether a path names a file of this machine's view of the target: relative, and without a
// folder macro (which the check leaves as written).
bool CheckablePath(const std::string& path) {
  return IsRelativePath(path) && path.find('$') == std::string::npos;
}

bool Is(const std::string& name, const char* expected) { return qxi::NamesEqual(name, expected); }

// The walker of the Conditions section: the command group without a name.
bool IsConditionsWalker(const qxi::SectionReader& reader) {
  const auto* group = dynamic_cast<const qxi::CommandGroup*>(&reader);
  return group != nullptr && group->Name().empty();
}

// The text of the line after `cursor` up to its end, without trailing blanks.
std::string RestOfLine(qxi::ScriptCursor cursor, const qxi::SectionReader& reader) {
  std::string text;
  while (!reader.AtLineEnd(cursor)) {
    text += *cursor.pos;
    cursor.Advance();
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string Location(const qxi::SectionReader& reader) {
  return "section [" + reader.section_name() + "] line #" + std::to_string(reader.line());
}

}  // namespace

CheckMode::CheckMode(const CheckSettings& settings, FindingList& findings)
    : settings_(settings), findings_(findings) {}

CheckMode::~CheckMode() = default;

CheckedFile& CheckMode::FileFor(const std::string& path, const std::string& context,
                                const qxi::ScriptFile& script) {
  auto& file = files_[PathKey(path)];
  if (!file) {
    file = std::make_unique<CheckedFile>(path, context, host_folder_, script);
    file_order_.push_back(file.get());
    findings_.NotePath(path);
  }
  return *file;
}

bool CheckMode::CheckRun(const std::string& path, const std::string& context,
                         const std::string& host_folder, std::string_view section) {
  host_folder_ = host_folder;
  qxi::ScriptFile script(path.c_str());
  findings_.NotePath(path);
  if (!script.IsOpen()) {
    findings_.Add({Severity::kError, path, 0, "Couldn't open script file",
                   EngineMessage{context, "Couldn't open script file", Reach::kAlways}});
    return false;
  }
  Frame frame;
  frame.context = context;
  frame.entry_path = path;
  frame.file = &FileFor(path, context, script);
  RunFrame(frame, script, section);
  return true;
}

// Makes a frame the current one for its lifetime.
class CheckMode::FrameScope {
 public:
  FrameScope(CheckMode& mode, Frame& frame, const qxi::ScriptFile& script,
             std::string_view section)
      : frames_(mode.frames_) {
    frame.script = &script;
    frame.section = std::string(section);
    frames_.push_back(&frame);
    mode.contexts_.insert(frame.context);
  }
  ~FrameScope() { frames_.pop_back(); }
  FrameScope(const FrameScope&) = delete;
  FrameScope& operator=(const FrameScope&) = delete;

 private:
  std::vector<Frame*>& frames_;
};

void CheckMode::RunFrame(Frame& frame, qxi::ScriptFile& script, std::string_view section) {
  FrameScope current(*this, frame, script, section);
  qxi::RunSection(script, section);
}

void CheckMode::CheckUnreached(const CheckedFile& file, const CheckedFile::Header& header,
                               const std::string& group) {
  qxi::ScriptFile script(file.path().c_str());
  if (!script.IsOpen()) return;
  host_folder_ = file.host_folder();
  Frame frame;
  frame.context = file.context();
  frame.file = &FileFor(file.path(), file.context(), script);
  frame.entry_path = file.path();
  frame.entry_line = file.LineAt(header.bracket);
  if (group.empty()) {
    RunFrame(frame, script, header.name);
    return;
  }
  FrameScope current(*this, frame, script, header.name);
  // The run's conditions first, as a run evaluates them before any section.
  try {
    qxi::LoadConditions(script);
  } catch (const qxi::QXErr&) {
    // No Conditions section: every prefix is undefined, as in a run.
  }
  qxi::CommandGroup walker(group);
  walker.SetUp(script.text_begin() + header.body, script.text_end(), header.name);
  walker.RunSection(qxi::ConditionMap());
}

int32_t CheckMode::LineOf(const Frame& frame, const qxi::SectionReader& reader) const {
  return frame.file->LineAt(static_cast<size_t>(reader.line_start().pos -
                                                frame.script->text_begin()));
}

bool CheckMode::Guarded(const Frame& frame, const qxi::SectionReader& where) const {
  if (frame.guarded) return true;
  if (frame.master != nullptr && frame.master_prefixed == frame.master->line_start().pos) {
    return true;  // the master line that runs this section has a prefix
  }
  return frame.prefixed_reader == &where && frame.prefixed == where.line_start().pos;
}

void CheckMode::SectionEntered(const qxi::SectionReader& reader) {
  Frame& frame = Current();
  if (dynamic_cast<const qxi::MasterRunner*>(&reader) != nullptr) {
    frame.master = &reader;
    frame.master_prefixed = nullptr;
  } else {
    frame.prefixed_reader = nullptr;
  }
  if (frame.file != nullptr && reader.begin().pos != nullptr) {
    frame.file->NoteWalked(static_cast<size_t>(reader.begin().pos - frame.script->text_begin()));
  }
}

bool CheckMode::LineRuns(const std::string& name, bool, const qxi::ConditionMap&,
                         const qxi::SectionReader& reader) {
  Frame& frame = Current();
  auto found = frame.defined.find(name);
  if (found == frame.defined.end()) {
    pending_hint_ = UndefinedConditionHint(
        name, frame.file != nullptr && frame.file->HasSection("Conditions"),
        IsConditionsWalker(reader));
    throw qxi::QXErr(qxi::kUndefinedCondition);
  }
  if (frame.file != nullptr) frame.file->NoteUse(name);
  if (!found->second) {
    // Where the condition of its definition does not hold, the name stays undefined.
    possible_ = true;
    pending_hint_ = "\"" + name + "\" is defined only where the condition of its own line "
                    "holds";
    reader.ReportReadFailure(qxi::QXErr(qxi::kUndefinedCondition));
    possible_ = false;
  }
  if (&reader == frame.master) {
    frame.master_prefixed = reader.line_start().pos;
  } else {
    frame.prefixed_reader = &reader;
    frame.prefixed = reader.line_start().pos;
  }
  return true;
}

std::string CheckMode::Folder(size_t position) {
  return "$" + std::string(qxi::kFolderMacroList[position]) + "$";
}

void CheckMode::Execute(qxi::Command& command, const qxi::SectionReader& reader,
                        qxi::ScriptCursor rest) {
  const qxi::ScriptCursor after = reader.SkipBlanks(rest);
  if (!reader.AtLineEnd(after)) {
    Warn(reader, "text after the last parameter of " + command.Name() + " is ignored: \"" +
                     RestOfLine(after, reader) + "\"");
  }
  if (IsConditionsWalker(reader)) {
    DefineCondition(command, reader);
    return;
  }
  // Commands run only in the walkers of groups.
  const std::string group = static_cast<const qxi::CommandGroup&>(reader).Name();
  const std::string name = command.Name();
  if (Is(group, "Misc") && Is(name, "Include")) {
    CheckInclude(command.params(), reader);
  } else if (Is(group, "FileCopy") && Is(name, "CopyFile")) {
    CheckCopySource(command.params(), reader);
  } else if (Is(group, "FileCopy") && Is(name, "ExtractQXZ")) {
    CheckArchiveSource(command.params(), reader);
  }
}

void CheckMode::Report(const char* message, const qxi::SectionReader* where) {
  if (frames_.empty()) return;
  Frame& frame = Current();
  std::string hint = std::move(pending_hint_);
  pending_hint_.clear();

  Finding finding;
  Reach reach;
  if (where != nullptr && frame.file != nullptr) {
    finding.path = frame.file->path();
    finding.line = LineOf(frame, *where);
    reach = possible_ ? Reach::kSomeMachines
                      : Guarded(frame, *where) ? Reach::kWhenHolds : Reach::kAlways;
    if (hint.empty()) hint = LineHint(message, *where);
  } else {
    finding.path = frame.entry_path;
    finding.line = frame.entry_line;
    reach = frame.guarded ? Reach::kWhenHolds : Reach::kAlways;
    if (hint.empty()) {
      hint = frame.file == nullptr
                 ? "there is no file " + frame.missing_path
                 : "there is no section [" + frame.section + "] in " + frame.file->path();
    }
  }
  finding.engine = EngineMessage{frame.context, message, reach};
  if (possible_) {
    finding.severity = Severity::kWarning;
    finding.text = std::string(message) + ", on some machines: " + hint;
  } else {
    finding.severity = Severity::kError;
    finding.text = hint.empty() ? std::string(message) : std::string(message) + ": " + hint;
  }
  findings_.Add(std::move(finding));
}

void CheckMode::Warn(const qxi::SectionReader& where, const std::string& text) {
  Frame& frame = Current();
  findings_.Add({Severity::kWarning, frame.file->path(), LineOf(frame, where),
                 text + " (" + Location(where) + ")", std::nullopt});
}

void CheckMode::DefineCondition(const qxi::Command& test, const qxi::SectionReader& reader) {
  Frame& frame = Current();
  const std::string& name = test.params()[qxi::kConditionName];
  const bool everywhere =
      !(frame.prefixed_reader == &reader && frame.prefixed == reader.line_start().pos);
  auto [entry, added] = frame.defined.emplace(name, everywhere);
  if (!added && everywhere) entry->second = true;
  frame.file->NoteDefinition(name, LineOf(frame, reader));
}

void CheckMode::CheckInclude(const qxi::ParamList& params, const qxi::SectionReader& where) {
  Frame& frame = Current();
  const bool guarded = Guarded(frame, where);
  // The engine counts the nested runs before it opens anything.
  pending_hint_ = "Include runs nest more than " + std::to_string(qxi::kMaxIncludeDepth) +
                  " deep here";
  qxi::IncludeDepthGuard depth;
  pending_hint_.clear();
  ++include_depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{include_depth_};

  const std::string& path = params[qxi::engine_commands::kScript];
  const std::string& section = params[qxi::engine_commands::kMasterSection];
  if (!CheckablePath(path) || section.find('$') != std::string::npos) {
    // A file of the target machine: where it is missing, the engine says so.
    if (!section.empty()) {
      findings_.Add({Severity::kNone, frame.file->path(), LineOf(frame, where), "",
                     EngineMessage{"", qxi::QXErr(qxi::kSectionNotFound).what(),
                                   Reach::kSomeMachines}});
    }
    return;
  }
  if (!includes_done_.emplace(path, section, include_depth_, guarded).second) return;

  const LocatedPath located = Locate(host_folder_, path);
  qxi::ScriptFile script(located.path.c_str());
  Frame nested;
  nested.guarded = guarded;
  nested.entry_path = frame.file->path();
  nested.entry_line = LineOf(frame, where);
  if (script.IsOpen()) {
    nested.context = path;
    nested.file = &FileFor(located.path, path, script);
  } else {
    nested.missing_path = located.path;
    if (section.empty()) {
      Warn(where, "Include of \"" + path + "\": there is no file " + located.path +
                      " (nothing is logged, as the master section is empty)");
      return;
    }
  }
  RunFrame(nested, script, section);
}

void CheckMode::CheckCopySource(const qxi::ParamList& params, const qxi::SectionReader& where) {
  const std::string source = qxi::JoinPath(params[qxi::file_commands::kSourceDir],
                                           params[qxi::file_commands::kFileName]);
  if (!CheckablePath(source)) return;
  const LocatedPath located = Locate(host_folder_, source);
  if (!located.is_file) {
    Warn(where, "CopyFile source \"" + source + "\" is not there: no file " + located.path);
  }
}

void CheckMode::CheckArchiveSource(const qxi::ParamList& params,
                                   const qxi::SectionReader& where) {
  const std::string& archive = params[qxi::archive_commands::kArchive];
  if (!CheckablePath(archive)) return;
  const LocatedPath located = Locate(host_folder_, archive);
  if (!located.is_file) {
    Warn(where, "ExtractQXZ archive \"" + archive + "\" is not there: no file " + located.path);
    return;
  }
  const std::string key = PathKey(located.path);
  auto found = archives_.find(key);
  if (found == archives_.end()) {
    found = archives_.emplace(key, CheckArchiveFile(located.path, settings_.deep)).first;
  }
  if (!found->second.empty()) {
    Warn(where, "ExtractQXZ archive \"" + archive + "\" is not a well-formed QXZ archive: " +
                    found->second);
  }
}

}  // namespace qxicheck
