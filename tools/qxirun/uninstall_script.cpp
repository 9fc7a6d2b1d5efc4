// Consecutive steps of one command group share a command section; the master section runs
// the sections in order. A comment goes into the section of the step it belongs to; a step
// of comments alone into the section before it.
#include "uninstall_script.h"

#include <initializer_list>

#include "undo_steps.h"

namespace qxirun {
namespace {

constexpr char kLineEnd[] = "\r\n";

// One command section of the script: its group and its lines, comments included.
struct Section {
  std::string group;
  std::vector<std::string> body;
  int commands = 0;
};

// The section name and header text of each group.
const char* SectionName(const std::string& group) {
  if (group == "Reg") return "Registry";
  if (group == "INI") return "IniFiles";
  return "Files";
}

const char* HeaderText(const std::string& group) {
  if (group == "Reg") return "Restoring the registry";
  if (group == "INI") return "Restoring INI files";
  return "Removing files and folders";
}

std::string CommentLine(const std::string& text) {
  std::string line = "; ";
  for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
  return line;
}

// Lays the steps out in sections. Comments before the first section go into it; comments
// alone, when there is no section at all, into `loose`.
std::vector<Section> LayOut(const std::vector<UndoStep>& steps, std::vector<std::string>& loose) {
  std::vector<Section> sections;
  std::vector<std::string> pending;
  for (const UndoStep& step : steps) {
    for (const std::string& comment : step.comments) pending.push_back(CommentLine(comment));
    if (step.group.empty() && sections.empty()) continue;
    if (!step.group.empty() && (sections.empty() || sections.back().group != step.group)) {
      sections.push_back(Section{step.group, {}, 0});
    }
    Section& section = sections.back();
    section.body.insert(section.body.end(), pending.begin(), pending.end());
    pending.clear();
    section.body.insert(section.body.end(), step.lines.begin(), step.lines.end());
    section.commands += static_cast<int>(step.lines.size());
  }
  loose = pending;
  return sections;
}

}  // namespace

UninstallScript MakeUninstallScript(const std::string& journal_text,
                                    const std::string& journal_name) {
  UninstallScript script;
  std::vector<std::string> runs;
  const std::vector<JournalRecord> records = ReadJournal(journal_text, script.problems, runs);

  std::vector<UndoStep> steps;
  size_t run = runs.size();  // none yet
  std::string run_note;      // heads the first step of the next run undone
  for (size_t i = records.size(); i-- > 0;) {
    if (records[i].run != run) {
      run = records[i].run;
      run_note = runs[run].empty() ? std::string() : "Undoes the run of " + runs[run];
    }
    for (UndoStep& step : UndoRecord(records, i)) {
      if (!run_note.empty()) step.comments.insert(step.comments.begin(), std::move(run_note));
      run_note.clear();
      steps.push_back(std::move(step));
    }
  }
  std::vector<std::string> loose;
  const std::vector<Section> sections = LayOut(steps, loose);

  std::string& text = script.text;
  for (const char* line : std::initializer_list<const char*>{
           "; Uninstall script made by qxirun --make-uninstall from the journal", nullptr,
        "; It undoes what the journal records, the last change first: run it with",
        ";   qxirun THIS_SCRIPT Uninstall",
        "; Files the installation made are removed (at the next restart when in use); files it",
        "; wrote over stay, since their earlier content was not kept. A file written with a",
        "; priority stays while another installation that wrote it still needs it. Folders,",
        "; registry keys and INI sections it made go only when nothing is left in them. Values",
        "; and INI keys it changed get their earlier data back. Comments say what is not undone",
        "; and why. Anything already gone is passed over without a word. Edit as you like."}) {
    text += line != nullptr ? line : ";   " + journal_name;
    text += kLineEnd;
  }
  text += std::string(kLineEnd) + "[" + kUninstallSection + "]" + kLineEnd;
  for (const std::string& comment : loose) text += comment + kLineEnd;
  if (sections.empty() && loose.empty()) text += std::string("; Nothing to undo.") + kLineEnd;
  for (size_t i = 0; i < sections.size(); ++i) {
    text += sections[i].group + " " + SectionName(sections[i].group) + std::to_string(i + 1) +
            kLineEnd;
  }
  for (size_t i = 0; i < sections.size(); ++i) {
    const Section& section = sections[i];
    text += std::string(kLineEnd) + "[" + SectionName(section.group) + std::to_string(i + 1) +
            "]" + kLineEnd;
    text += "\"" + std::string(HeaderText(section.group)) + "\" " +
            std::to_string(section.commands) + kLineEnd;
    for (const std::string& line : section.body) text += line + kLineEnd;
  }
  return script;
}

}  // namespace qxirun
