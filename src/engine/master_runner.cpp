#include "engine/master_runner.h"

#include "engine/condition_prefix.h"
#include "engine/conditions_section.h"
#include "engine/failure_report.h"
#include "engine/folder_macros.h"
#include "engine/host_callbacks.h"
#include "engine/params.h"
#include "engine/qx_err.h"
#include "engine/script_file.h"
#include "engine/walk_mode.h"

namespace qxi {

const char* const kGroupNames[5] = {"Misc", "INI", "FileOps", "Reg", "FileCopy"};

void RunSection(const ScriptFile& script, std::string_view name) {
  ScopedScriptPath script_path(script.path());
  ScopedMacroScript macro_script(script.path());
  ConditionMap conditions;
  try {
    conditions = LoadConditions(script);
  } catch (const QXErr& e) {
    // A script without a Conditions section runs with none, unreported.
    if (e.code() != kSectionNotFound) (LogLine() << FailureText(e).get()).Send();
    conditions.clear();
  } catch (const std::exception& e) {
    // Anything else (a failed allocation) is reported; the run goes on with no conditions.
    (LogLine() << FailureText(e).get()).Send();
    conditions.clear();
  }
  try {
    const char* start = script.FindSection(name);
    MasterRunner runner(script);
    runner.SetUp(start, script.text_end(), name);
    runner.Run(conditions);
  } catch (const std::exception& e) {
    (LogLine() << FailureText(e).get()).Send();
  }
}

MasterRunner::MasterRunner(const ScriptFile& script) : script_(script) {
  for (const char* name : kGroupNames) groups_.push_back(std::make_unique<CommandGroup>(name));
}

MasterRunner::~MasterRunner() = default;

void MasterRunner::Run(const ConditionMap& conditions) {
  std::vector<std::string> names;
  for (const auto& group : groups_) names.push_back(group->Name());
  EnumParam selector("Group", std::move(names));

  CurrentWalkMode().SectionEntered(*this);
  set_line(1);
  ScriptCursor cursor = SkipBlanks(begin());
  if (AtLineEnd(cursor)) cursor = NextLine(cursor);
  while (!AtEnd(cursor)) {
    set_param(0);
    try {
      cursor = SkipBlanks(cursor);
      bool run = true;
      if (!AtEnd(cursor) && *cursor.pos == '@') {
        run = ReadConditionPrefix(cursor, *this, conditions);
      }
      if (run) {
        cursor = selector.Parse(cursor, *this);
        CommandGroup& group = *groups_[static_cast<size_t>(selector.value())];
        while (!AtLineEnd(SkipBlanks(cursor))) cursor = RunNamedSection(cursor, group, conditions);
      }
    } catch (const std::exception& e) {
      ReportReadFailure(e);
    }
    cursor = NextLine(cursor);
  }
}

void MasterRunner::ReportReadFailure(const std::exception& e) const {
  (LogLine() << FailureText(e).get() << ": Master section: " << section_name() << " line: "
             << line())
      .Send(*this);
}

ScriptCursor MasterRunner::RunNamedSection(ScriptCursor cursor, CommandGroup& group,
                                           const ConditionMap& conditions) {
  NextParam();
  try {
    StringParam name("Section name");
    ScriptCursor token_start = cursor;
    try {
      cursor = name.Parse(cursor, *this);
    } catch (...) {
      cursor = SkipToken(SkipBlanks(token_start), *this);
      throw;
    }
    const char* begin = script_.FindSection(name.text());
    group.SetUp(begin, script_.text_end(), name.text());
    group.RunSection(conditions);
  } catch (const std::exception& e) {
    (LogLine() << FailureText(e).get() << ": Master section [" << section_name() << "] line #"
               << line() << " param #" << param())
        .Send(*this);
  }
  return cursor;
}

}  // namespace qxi
