#include "engine/script_file.h"

#include "engine/failure_report.h"
#include "engine/host_callbacks.h"
#include "engine/master_runner.h"
#include "engine/qx_err.h"

namespace qxi {

ScriptFile::ScriptFile(const char* path) : map_(path), sections_(map_.begin(), map_.end()) {
  if (IsOpen()) path_ = path;
}

ScriptFile::~ScriptFile() = default;

const char* ScriptFile::FindSection(std::string_view name) const {
  if (name.empty()) return sections_.start();
  const char* body = sections_.Find(name);
  if (body == nullptr) throw QXErr(kSectionNotFound);
  return body;
}

void ScriptFile::RunSection(std::string_view name) {
  ScopedScriptPath script_path(path_);
  ConditionMap conditions;
  try {
    conditions = LoadConditions();
  } catch (const QXErr& e) {
    // A script without a Conditions section runs with none, unreported.
    if (e.code() != kSectionNotFound) SendLog(FailureText(e).get());
    conditions.clear();
  } catch (const std::exception& e) {
    // Anything else (a failed allocation) is reported; the run goes on with no conditions.
    SendLog(FailureText(e).get());
    conditions.clear();
  }
  try {
    const char* start = FindSection(name);
    MasterRunner runner(*this);
    runner.SetUp(start, text_end(), name);
    runner.Run(conditions);
  } catch (const std::exception& e) {
    SendLog(FailureText(e).get());
  }
}

}  // namespace qxi
