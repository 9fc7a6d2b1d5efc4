#include "script_checker.h"

#include <algorithm>

#include "host_paths.h"
#include "section_kind.h"

namespace qxicheck {

ScriptChecker::ScriptChecker(CheckSettings settings)
    : settings_(std::move(settings)), mode_(settings_, findings_) {
  if (settings_.sections.empty()) settings_.sections.push_back("Setup");
}

bool ScriptChecker::Check(const std::string& path, const std::string& context) {
  qxi::ScopedWalkMode check(mode_);
  const std::string host_folder =
      settings_.host_folder.empty() ? FolderOf(path) : settings_.host_folder;
  for (const std::string& section : settings_.sections) {
    if (!mode_.CheckRun(path, context.empty() ? path : context, host_folder, section)) {
      return false;
    }
  }
  return true;
}

void ScriptChecker::Finish() {
  qxi::ScopedWalkMode check(mode_);
  for (const CheckedFile* file : mode_.files()) CheckDuplicates(*file);
  if (settings_.all) CheckUnreached();
  for (const CheckedFile* file : mode_.files()) CheckUnused(*file);
}

void ScriptChecker::CheckDuplicates(const CheckedFile& file) {
  const auto& headers = file.headers();
  for (size_t i = 0; i < headers.size(); ++i) {
    if (headers[i].first == i) continue;
    const int32_t first_line = file.LineAt(headers[headers[i].first].bracket);
    findings_.Add({Severity::kWarning, file.path(), file.LineAt(headers[i].bracket),
                   "section [" + headers[i].name + "] is never reached: its name is taken by "
                   "the section at line " + std::to_string(first_line) +
                   ", which the engine always finds first",
                   std::nullopt});
  }
}

void ScriptChecker::CheckUnreached() {
  // Checking one section may walk others (a master section names them, an Include opens
  // another file): those are walked by the time the loop comes to them. Files opened meanwhile
  // join the end of the list.
  for (size_t f = 0; f < mode_.files().size(); ++f) {
    const CheckedFile& file = *mode_.files()[f];
    for (size_t i = 0; i < file.headers().size(); ++i) {
      const CheckedFile::Header& header = file.headers()[i];
      if (header.first != i || file.Walked(header.body)) continue;
      const int32_t line = file.LineAt(header.bracket);
      qxi::ScriptFile script(file.path().c_str());
      if (!script.IsOpen()) continue;
      const SectionKind kind = GuessSectionKind(script, script.text_begin() + header.body);
      std::string what = "section [" + header.name + "] is not reached from the checked master "
                         "sections";
      if (kind.master) {
        what += "; checked as a master section";
      } else if (!kind.group.empty()) {
        what += "; checked as a section of group " + kind.group;
      } else {
        what += ", and its lines name no command";
      }
      findings_.Add({Severity::kWarning, file.path(), line, what, std::nullopt});
      if (kind.master || !kind.group.empty()) mode_.CheckUnreached(file, header, kind.group);
    }
  }
}

void ScriptChecker::CheckUnused(const CheckedFile& file) {
  for (const auto& entry : file.definitions()) {
    const std::string& name = entry.first;
    const CheckedFile::Definition& definition = entry.second;
    if (definition.used) continue;
    const bool evaluated = std::any_of(settings_.evaluated.begin(), settings_.evaluated.end(),
                                       [&](const std::string& e) { return qxi::NamesEqual(e, name); });
    if (evaluated) continue;
    findings_.Add({Severity::kWarning, file.path(), definition.line,
                   "condition \"" + name + "\" is defined but no line uses it", std::nullopt});
  }
}

}  // namespace qxicheck
