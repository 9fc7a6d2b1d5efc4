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

// Walks the header lines of the text from its start, in file order, and calls
// visit(name, bracket, close) for each until visit returns true; `bracket` is the '[' and
// `close` the ']' or the line break that ends the name. Returns whether a visit returned true.
template <typename Visit>
bool ScanHeaders(const char* begin, const char* end, Visit visit) {
  const char* p = SkipSpaces(begin, end);
  while (p < end) {
    if (*p == '[') {
      const char* q = p + 1;
      while (q < end && *q != ']' && !IsLineBreak(*q)) ++q;
      // A header cut off by the end of the text is no header.
      if (q == end) break;
      if (visit(std::string_view(p + 1, static_cast<size_t>(q - p - 1)), p, q)) return true;
    }
    p = SkipSpaces(NextNonEmptyLine(p, end), end);
  }
  return false;
}

}  // namespace

ScriptFile::ScriptFile(const char* path) : map_(path) {
  if (IsOpen()) path_ = path;
}

ScriptFile::~ScriptFile() = default;

const char* ScriptFile::FindSection(std::string_view name) const {
  const char* end = text_end();
  if (name.empty()) return SkipSpaces(text_begin(), end);
  const char* body = nullptr;
  if (!ScanHeaders(text_begin(), end, [&](std::string_view header, const char*, const char* close) {
        if (!NamesEqual(header, name)) return false;
        body = NextNonEmptyLine(close, end);
        return true;
      })) {
    throw QXErr(kSectionNotFound);
  }
  return body;
}

std::vector<ScriptFile::Header> ScriptFile::Headers() const {
  std::vector<Header> headers;
  const char* end = text_end();
  ScanHeaders(text_begin(), end,
              [&](std::string_view name, const char* bracket, const char* close) {
                headers.push_back({name, bracket, NextNonEmptyLine(close, end)});
                return false;
              });
  return headers;
}

void ScriptFile::RunSection(std::string_view name) {
  ScopedScriptPath script_path(path_);
  ConditionMap conditions;
  try {
    conditions = LoadConditions();
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
    const char* start = FindSection(name);
    MasterRunner runner(*this);
    runner.SetUp(start, text_end(), name);
    runner.Run(conditions);
  } catch (const std::exception& e) {
    (LogLine() << FailureText(e).get()).Send();
  }
}

}  // namespace qxi
