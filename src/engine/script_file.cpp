#include "engine/script_file.h"

#include "engine/failure_report.h"
#include "engine/host_callbacks.h"
#include "engine/master_runner.h"
#include "engine/qx_err.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

const char* SkipSpaces(const char* p, const char* end) {
  while (p < end && *p == ' ') ++p;
  return p;
}

// From inside a line: past its end and the whole line-break run after it.
const char* NextNonEmptyLine(const char* p, const char* end) {
  while (p < end && !IsLineBreak(*p)) ++p;
  while (p < end && IsLineBreak(*p)) ++p;
  return p;
}

}  // namespace

ScriptFile::ScriptFile(const char* path) : map_(path) {
  if (IsOpen()) path_ = path;
}

ScriptFile::~ScriptFile() = default;

const char* ScriptFile::FindSection(std::string_view name) const {
  const char* end = text_end();
  const char* p = SkipSpaces(text_begin(), end);
  if (name.empty()) return p;
  while (p < end) {
    if (*p == '[') {
      const char* q = p + 1;
      while (q < end && *q != ']' && !IsLineBreak(*q)) ++q;
      // A header cut off by the end of the text is no header.
      if (q == end) break;
      if (NamesEqual(std::string_view(p + 1, static_cast<size_t>(q - p - 1)), name)) {
        return NextNonEmptyLine(q, end);
      }
    }
    p = SkipSpaces(NextNonEmptyLine(p, end), end);
  }
  throw QXErr(kSectionNotFound);
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
