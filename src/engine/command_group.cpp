#include "engine/command_group.h"

#include <new>

#include "engine/command_row.h"
#include "engine/condition_prefix.h"
#include "engine/failure_report.h"
#include "engine/host_callbacks.h"
#include "engine/qx_err.h"
#include "engine/walk_mode.h"

namespace qxi {
namespace {

// A command built from its row.
class TableCommand final : public Command {
 public:
  explicit TableCommand(const CommandRow& row) : row_(row) { params_ = ParamsOf(row.params); }
  std::string Name() const override { return row_.name; }
  // Nothing for the commands that report their own progress, else one dialog step.
  void Advance() override {
    if (row_.progress == Progress::kPerLine) Command::Advance();
  }
  // ERROR_NOT_SUPPORTED where this build has no action (the native build has no Windows).
  void Execute() override {
    if (row_.action == nullptr) throw QXErr(kRunTimeError, kErrorNotSupported);
    row_.action(params_);
  }

 private:
  const CommandRow& row_;
};

std::vector<std::unique_ptr<Command>> CommandsOf(const std::string& group) {
  std::vector<std::unique_ptr<Command>> commands;
  for (const CommandRow* row : CommandsOfGroup(group)) {
    commands.push_back(std::make_unique<TableCommand>(*row));
  }
  return commands;
}

}  // namespace

CommandGroup::CommandGroup(const std::string& name)
    : CommandGroup(name, CommandsOf(name)) {}

CommandGroup::CommandGroup(std::string name, std::vector<std::unique_ptr<Command>> commands)
    : name_(std::move(name)),
      commands_(std::move(commands)),
      selector_("Command", NamesOf(commands_)) {}

CommandGroup::~CommandGroup() = default;

std::vector<std::string> CommandGroup::NamesOf(
    const std::vector<std::unique_ptr<Command>>& commands) {
  std::vector<std::string> names;
  for (const auto& command : commands) names.push_back(command->Name());
  return names;
}

Command* CommandGroup::Selected() const {
  int32_t index = selector_.value();
  return index == EnumParam::kNone ? nullptr : commands_[static_cast<size_t>(index)].get();
}

ScriptCursor CommandGroup::NextLine(ScriptCursor cursor) {
  set_param(0);
  return SectionReader::NextLine(cursor);
}

ScriptCursor CommandGroup::BeginSection() {
  ScriptCursor cursor = begin();
  try {
    StringParam text("Dialog text");
    IntegerParam number("Dialog number");
    set_param(1);
    cursor = text.Parse(cursor, *this);
    set_param(2);
    cursor = number.Parse(cursor, *this);
    Callbacks().set_dialog(text.text().c_str(), number.value());
  } catch (const std::exception& e) {
    (LogLine() << FailureText(e).get() << ", section header [" << section_name() << "] Param #"
               << param())
        .Send(*this);
  }
  return NextLine(cursor);
}

void CommandGroup::ReportExecuteFailure(const Command& command, const QXErr& e) const {
  LogLine line;
  if (e.code() == kRunTimeError) line << command.Name() << ": ";
  (line << "section [" << section_name() << "] line #" << this->line() << ", " << e.what())
      .Send(*this);
}

ScriptCursor CommandGroup::RunLine(ScriptCursor cursor, const ConditionMap& conditions) {
  cursor = SkipBlanks(cursor);
  bool run = true;
  if (!AtEnd(cursor) && *cursor.pos == '@') run = ReadConditionPrefix(cursor, *this, conditions);
  if (run) {
    cursor = selector_.Parse(cursor, *this);
    Command& command = *Selected();
    cursor = command.params().ReadAll(cursor, *this);
    try {
      CurrentWalkMode().Execute(command, *this, cursor);
    } catch (const QXErr& e) {
      ReportExecuteFailure(command, e);
    } catch (const std::bad_alloc&) {
      ReportExecuteFailure(command, QXErr(kOutOfMemory));
    } catch (const std::exception& e) {
      (LogLine() << command.Name() << ": section [" << section_name() << "] line #" << line()
                 << ", " << FailureText(e).get())
          .Send(*this);
    }
  }
  ReportLine(!run);
  // After a false condition the group's last selected command takes the step; before any
  // command of the group was read there is none, and nothing advances.
  if (Command* selected = Selected()) selected->Advance();
  return cursor;
}

void CommandGroup::ReportLine(bool skipped) const {
  SendEvent(skipped ? QXI_EVENT_LINE_SKIPPED : QXI_EVENT_LINE_RUN, section_name(),
            static_cast<uint32_t>(line()));
}

void CommandGroup::RunSection(const ConditionMap& conditions) {
  CurrentWalkMode().SectionEntered(*this);
  ScriptCursor cursor = BeginSection();
  while (!AtEnd(cursor)) {
    try {
      cursor = RunLine(cursor, conditions);
    } catch (const std::exception& e) {
      ReportReadFailure(e);
    }
    cursor = NextLine(cursor);
  }
}

void CommandGroup::ReportReadFailure(const std::exception& e) const {
  LogLine line;
  const auto* error = dynamic_cast<const QXErr*>(&e);
  if (error != nullptr && error->code() == kEnumMismatch && param() == 0) {
    // The command name matched none of the group's.
    line << QXErr(kUnknownCommand).what() << ", section [" << section_name() << "] line #"
         << this->line();
  } else {
    line << FailureText(e).get() << ", section [" << section_name() << "] line #"
         << this->line() << " Param #" << param();
  }
  line.Send(*this);
}

}  // namespace qxi
