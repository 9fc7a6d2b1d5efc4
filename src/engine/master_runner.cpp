#include "engine/master_runner.h"

#include "engine/command_table.h"
#include "engine/condition_prefix.h"
#include "engine/failure_report.h"
#include "engine/params.h"
#include "engine/script_file.h"
#include "engine/walk_mode.h"

namespace qxi {

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
      cursor = SkipBadToken(SkipBlanks(token_start));
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

ScriptCursor MasterRunner::SkipBadToken(ScriptCursor cursor) const {
  if (!AtLineEnd(cursor) && *cursor.pos == '"') {
    // A quoted token: to its closing quote (a doubled quote stands inside the text).
    cursor.Advance();
    while (!AtLineEnd(cursor)) {
      bool quote = *cursor.pos == '"';
      cursor.Advance();
      if (quote) {
        if (AtLineEnd(cursor) || *cursor.pos != '"') break;
        cursor.Advance();
      }
    }
  }
  while (!AtLineEnd(cursor) && *cursor.pos != ' ') cursor.Advance();
  return cursor;
}

}  // namespace qxi
