#include "undo_steps.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "engine/journal_text.h"
#include "engine/text_compare.h"

namespace qxirun {
namespace {

namespace kind = qxi::journal_kind;
using qxi::NamesEqual;

// The kind of qxirun's own line that begins each run: "Run", the script, the master section.
constexpr char kRun[] = "Run";

// The fields (the kind included) each record has at least.
struct Shape {
  const char* kind;
  size_t fields;
};
constexpr Shape kShapes[] = {
    {kind::kFileWrite, 3},        {kind::kFileDelete, 2},      {kind::kFileMove, 4},
    {kind::kFolderMake, 2},       {kind::kFolderRemove, 2},    {kind::kFolderAttributes, 4},
    {kind::kRestartReplace, 4},   {kind::kRestartMove, 4},     {kind::kRestartDelete, 2},
    {kind::kPrioritySet, 4},      {kind::kKeyMake, 3},         {kind::kKeyDelete, 3},
    {kind::kValueSet, 8},         {kind::kValueDelete, 6},     {kind::kIniFileMake, 2},
    {kind::kIniSectionMake, 3},   {kind::kIniSectionDelete, 3}, {kind::kIniKeySet, 7},
    {kind::kIniKeyDelete, 5},     {kind::kIniLineAdd, 4},      {kind::kIniLineRemove, 4},
    {kind::kRunApp, 3},           {kind::kExitWindows, 2},
};

constexpr char kFileOps[] = "FileOps";
constexpr char kReg[] = "Reg";
constexpr char kIni[] = "INI";

bool Is(const JournalRecord& record, const char* record_kind) {
  return record.fields[0] == record_kind;
}

const Shape* ShapeOf(const std::string& record_kind) {
  for (const Shape& shape : kShapes) {
    if (record_kind == shape.kind) return &shape;
  }
  return nullptr;
}

bool Present(const std::string& before) { return before == qxi::kBeforePresent; }

// Joins the tokens of a script line with blanks.
std::string Line(std::initializer_list<std::string> tokens) {
  std::string line;
  for (const std::string& token : tokens) {
    if (!line.empty()) line += ' ';
    line += token;
  }
  return line;
}

// A number as IntegerParam reads it: the 32 bits of `text` (unsigned decimal) as signed.
std::string SignedNumber(const std::string& text) {
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

UndoStep Comment(std::string text) { return UndoStep{"", {std::move(text)}, {}}; }

UndoStep Command(const char* group, std::string line) {
  return UndoStep{group, {}, {std::move(line)}};
}

bool IsRoot(const std::string& root) {
  for (const char* name : {"HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD"}) {
    if (root == name) return true;
  }
  return false;
}

std::string KeyName(const std::string& root, const std::string& key) { return root + "\\" + key; }

std::string ValueName(const std::string& root, const std::string& key, const std::string& name) {
  return KeyName(root, key) + (name.empty() ? " (default value)" : " value " + name);
}

// The line that writes a value of `type` with `data` back; empty when no command writes that
// type.
std::string RestoreValueLine(const std::string& root, const std::string& key,
                             const std::string& name, const std::string& type,
                             const std::string& data) {
  const std::string target = root + " " + ScriptToken(key) + " " + ScriptToken(name);
  if (type == qxi::kTypeSz) return "SetSzValue " + target + " " + ScriptToken(data);
  if (type == qxi::kTypeDword) return "SetDwValue " + target + " " + SignedNumber(data);
  // Byte data is a plain token; no bytes at all is no token.
  if (type == qxi::kTypeBinary) return "SetBinValue " + target + (data.empty() ? "" : " " + data);
  return std::string();
}

// Puts a value back as it was before (`type` "absent": removes it).
std::vector<UndoStep> RestoreValue(const std::string& root, const std::string& key,
                                   const std::string& name, const std::string& type,
                                   const std::string& data) {
  if (type == qxi::kBeforeAbsent) {
    return {Command(kReg, Line({"RemoveValue", root, ScriptToken(key), ScriptToken(name)}))};
  }
  std::string line = RestoreValueLine(root, key, name, type, data);
  if (!line.empty()) return {Command(kReg, std::move(line))};
  return {Comment(ValueName(root, key, name) + " held " + type + " " + data +
                  " before: no command writes that type, so put it back by hand.")};
}

// True when a record before `index` made what `made` names: a file, folder or key whose name
// equals `name` (ignoring letter case).
template <typename Made>
bool MadeBefore(const std::vector<JournalRecord>& records, size_t index, Made made) {
  for (size_t i = 0; i < index; ++i) {
    if (made(records[i])) return true;
  }
  return false;
}

bool FileMadeBefore(const std::vector<JournalRecord>& records, size_t index,
                    const std::string& path) {
  return MadeBefore(records, index, [&](const JournalRecord& r) {
    if ((Is(r, kind::kFileWrite) && !Present(r.fields[2])) ||
        (Is(r, kind::kRestartReplace) && !Present(r.fields[3]))) {
      return NamesEqual(r.fields[1], path);
    }
    if (Is(r, kind::kFileMove) || Is(r, kind::kRestartMove)) return NamesEqual(r.fields[2], path);
    return Is(r, kind::kFolderMake) && NamesEqual(r.fields[1], path);
  });
}

bool KeyMadeBefore(const std::vector<JournalRecord>& records, size_t index,
                   const std::string& root, const std::string& key) {
  return MadeBefore(records, index, [&](const JournalRecord& r) {
    return Is(r, kind::kKeyMake) && r.fields[1] == root && NamesEqual(r.fields[2], key);
  });
}

// Undoes a file written (FileWrite, or RestartReplace: a staged copy put in place at the
// restart), with the priority it was written with when `priority` is set.
std::vector<UndoStep> UndoFileWritten(const JournalRecord& file, const JournalRecord* priority) {
  const bool restart = Is(file, kind::kRestartReplace);
  const std::string& path = file.fields[1];
  const bool was_there = Present(file.fields[restart ? 3 : 2]);
  std::vector<UndoStep> steps;
  if (restart) {
    steps.push_back(Comment(path + " was replaced at the next restart after the installation: "
                            "run this uninstaller after that restart, or the restart puts the "
                            "installed file back."));
  }
  if (priority == nullptr) {
    if (was_there) {
      steps.push_back(Comment(path + " was there before and was written over: its earlier "
                              "content was not kept, so it stays."));
    } else {
      steps.push_back(Command(kFileOps, Line({"RemoveFile", ScriptToken(path)})));
    }
    return steps;
  }
  const std::string& store_name = priority->fields[1];
  const std::string number = SignedNumber(priority->fields[2]);
  const std::string previous = SignedNumber(priority->fields[3]);
  if (!NamesEqual(store_name, path)) {
    steps.push_back(Comment("The priorities store names " + path + " \"" + store_name +
                            "\": run this uninstaller where that name finds the file."));
  }
  if (was_there && previous == "0") {
    steps.push_back(Comment(path + " was there before and was written over with priority " +
                            number + ": its earlier content was not kept, so it stays."));
    steps.push_back(
        Command(kReg, Line({"RestorePriority", ScriptToken(store_name), number, previous})));
  } else {
    steps.push_back(Command(
        kFileOps, Line({"RemoveSharedFile", ScriptToken(store_name), number, previous})));
  }
  return steps;
}

// Undoes a move (now, or at the restart): the file goes back where it was.
std::vector<UndoStep> UndoMove(const JournalRecord& move) {
  const std::string& source = move.fields[1];
  const std::string& destination = move.fields[2];
  std::vector<UndoStep> steps;
  if (Is(move, kind::kRestartMove)) {
    steps.push_back(Comment(source + " was moved to " + destination +
                            " at the next restart: run this uninstaller after that restart."));
  }
  if (Present(move.fields[3])) {
    steps.push_back(Comment(destination + " was there before and was replaced by the move: its "
                            "earlier content was not kept."));
  }
  steps.push_back(
      Command(kFileOps, Line({"MoveFileBack", ScriptToken(destination), ScriptToken(source)})));
  return steps;
}

// True when a text of the record holds a line break, which no script token can carry.
bool HoldsLineBreak(const JournalRecord& record) {
  for (const std::string& field : record.fields) {
    if (field.find_first_of("\r\n") != std::string::npos) return true;
  }
  return false;
}

// The record as it reads in the journal, for comments.
std::string RecordText(const JournalRecord& record) {
  std::vector<std::string_view> fields(record.fields.begin(), record.fields.end());
  return qxi::JournalLine(fields);
}

std::vector<UndoStep> UndoRegistry(const std::vector<JournalRecord>& records, size_t index) {
  const JournalRecord& r = records[index];
  const std::vector<std::string>& f = r.fields;
  if (!IsRoot(f[1])) return {Comment("Not undone, no root key of the registry: " + RecordText(r))};
  if (Is(r, kind::kKeyMake)) {
    return {Command(kReg, Line({"RemoveEmptyKey", f[1], ScriptToken(f[2])}))};
  }
  if (Is(r, kind::kKeyDelete)) {
    if (KeyMadeBefore(records, index, f[1], f[2])) return {};
    return {Command(kReg, Line({"CreateKey", f[1], ScriptToken(f[2])}))};
  }
  if (Is(r, kind::kValueSet)) return RestoreValue(f[1], f[2], f[3], f[6], f[7]);
  return RestoreValue(f[1], f[2], f[3], f[4], f[5]);  // ValueDelete
}

std::vector<UndoStep> UndoIni(const JournalRecord& r) {
  const std::vector<std::string>& f = r.fields;
  const std::string file = ScriptToken(f[1]);
  if (Is(r, kind::kIniFileMake)) return {Command(kIni, Line({"RemoveEmptyIniFile", file}))};
  const std::string section = ScriptToken(f[2]);
  if (Is(r, kind::kIniSectionMake)) {
    return {Command(kIni, Line({"RemoveEmptySection", file, section}))};
  }
  if (Is(r, kind::kIniSectionDelete)) {
    if (f.size() == 3) return {Command(kIni, Line({"CreateSection", file, section}))};
    UndoStep step{kIni, {}, {}};
    for (size_t i = 3; i < f.size(); ++i) {
      step.lines.push_back(Line({"AppendLine", file, section, ScriptToken(f[i])}));
    }
    return {step};
  }
  if (Is(r, kind::kIniKeySet)) {
    if (!Present(f[5])) return {Command(kIni, Line({"DeleteKey", file, section, ScriptToken(f[3])}))};
    return {Command(kIni, Line({"SetKey", file, section, ScriptToken(f[3]), ScriptToken(f[6])}))};
  }
  if (Is(r, kind::kIniKeyDelete)) {
    return {Command(kIni, Line({"SetKey", file, section, ScriptToken(f[3]), ScriptToken(f[4])}))};
  }
  if (Is(r, kind::kIniLineAdd)) {
    return {Command(kIni, Line({"RemoveLine", file, section, ScriptToken(f[3])}))};
  }
  return {Command(kIni, Line({"AppendLine", file, section, ScriptToken(f[3])}))};  // IniLineRemove
}

}  // namespace

std::string ScriptToken(const std::string& text) {
  std::string token = "\"";
  for (char c : text) {
    if (c == '"' || c == '$') token += c;
    token += c;
  }
  return token + "\"";
}

std::vector<JournalRecord> ReadJournal(const std::string& text, std::vector<std::string>& problems,
                                       std::vector<std::string>& runs) {
  std::vector<JournalRecord> records;
  runs.assign(1, std::string());
  size_t number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    JournalRecord record;
    if (!qxi::ParseJournalLine(line, record.fields)) {
      problems.push_back("line " + std::to_string(number) + ": a backslash that begins no escape");
      continue;
    }
    if (record.fields[0] == kRun) {
      runs.push_back(Line({record.fields.size() > 1 ? record.fields[1] : std::string(),
                           record.fields.size() > 2 ? record.fields[2] : std::string()}));
      continue;
    }
    const Shape* shape = ShapeOf(record.fields[0]);
    if (shape != nullptr && record.fields.size() < shape->fields) {
      problems.push_back("line " + std::to_string(number) + ": " + record.fields[0] + " with " +
                         std::to_string(record.fields.size() - 1) + " fields, not " +
                         std::to_string(shape->fields - 1));
      continue;
    }
    record.run = runs.size() - 1;
    records.push_back(std::move(record));
  }
  // A priority is stored right after its file is written, the store's keys (when it had to
  // be made) between them.
  for (size_t i = 0; i < records.size(); ++i) {
    if (!Is(records[i], kind::kPrioritySet)) continue;
    size_t j = i;
    while (j > 0 && records[j - 1].run == records[i].run && Is(records[j - 1], kind::kKeyMake)) --j;
    if (j == 0 || records[j - 1].run != records[i].run) continue;
    JournalRecord& file = records[j - 1];
    if ((Is(file, kind::kFileWrite) || Is(file, kind::kRestartReplace)) && !file.paired) {
      file.paired = true;
      records[i].written_file = &file;
    }
  }
  return records;
}

std::vector<UndoStep> UndoRecord(const std::vector<JournalRecord>& records, size_t index) {
  const JournalRecord& r = records[index];
  const std::vector<std::string>& f = r.fields;
  if (r.paired) return {};  // undone with its priority
  if (ShapeOf(f[0]) == nullptr) return {Comment("Not undone, a record of an unknown kind: " + RecordText(r))};
  if (HoldsLineBreak(r)) {
    return {Comment("Not undone, a text holds a line break, which a script line cannot: " +
                    RecordText(r))};
  }
  if (Is(r, kind::kPrioritySet)) {
    if (r.written_file != nullptr) return UndoFileWritten(*r.written_file, &r);
    return {Command(kReg, Line({"RestorePriority", ScriptToken(f[1]), SignedNumber(f[2]),
                                SignedNumber(f[3])}))};
  }
  if (Is(r, kind::kFileWrite) || Is(r, kind::kRestartReplace)) return UndoFileWritten(r, nullptr);
  if (Is(r, kind::kFileMove) || Is(r, kind::kRestartMove)) return UndoMove(r);
  if (Is(r, kind::kFileDelete) || Is(r, kind::kRestartDelete)) {
    if (FileMadeBefore(records, index, f[1])) return {};
    return {Comment(f[1] + (Is(r, kind::kFileDelete) ? " was deleted" : " was deleted at the restart") +
                    " by the installation: its content was not kept, so it cannot be put back.")};
  }
  if (Is(r, kind::kFolderMake)) return {Command(kFileOps, Line({"RemoveEmptyDir", ScriptToken(f[1])}))};
  if (Is(r, kind::kFolderRemove)) {
    if (FileMadeBefore(records, index, f[1])) return {};
    return {Comment(f[1] + " was removed by the installation with what it held: the folder is "
                    "made again, what it held was not kept."),
            Command(kFileOps, Line({"MakeDir", ScriptToken(f[1]), "\"\""}))};
  }
  if (Is(r, kind::kFolderAttributes)) {
    std::string letters;
    for (char c : f[2]) {
      if (std::string_view("AHRS").find(c) != std::string_view::npos) letters += c;
    }
    if (letters.empty()) letters = "\"\"";
    return {Command(kFileOps, Line({"MakeDir", ScriptToken(f[1]), letters}))};
  }
  if (Is(r, kind::kKeyMake) || Is(r, kind::kKeyDelete) || Is(r, kind::kValueSet) ||
      Is(r, kind::kValueDelete)) {
    return UndoRegistry(records, index);
  }
  if (Is(r, kind::kRunApp)) {
    return {Comment("The installation ran " + f[1] + ": what that program changed is not "
                    "recorded, and is not undone.")};
  }
  if (Is(r, kind::kExitWindows)) {
    return {Comment("The installation asked Windows for " + f[1] + ": nothing to undo.")};
  }
  return UndoIni(r);
}

}  // namespace qxirun
