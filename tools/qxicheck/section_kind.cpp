#include "section_kind.h"

#include <map>
#include <vector>

#include "engine/command_row.h"
#include "engine/master_runner.h"
#include "engine/params.h"
#include "engine/qx_err.h"
#include "engine/section_reader.h"
#include "engine/text_compare.h"
#include "line_hints.h"

namespace qxicheck {
namespace {

// Whether `token` reads as an IntegerParam, as the number of a header line does.
bool IsNumber(const std::string& token) {
  qxi::SectionReader scratch;
  scratch.SetUp(token.data(), token.data() + token.size(), "");
  qxi::IntegerParam number("Number");
  try {
    number.Parse(scratch.begin(), scratch);
    return true;
  } catch (const qxi::QXErr&) {
    return false;
  }
}

}  // namespace

SectionKind GuessSectionKind(const qxi::ScriptFile& script, const char* body) {
  qxi::SectionReader reader;
  reader.SetUp(body, script.text_end(), "");
  qxi::ScriptCursor cursor = reader.SkipBlanks(reader.begin());
  if (reader.AtLineEnd(cursor)) cursor = reader.NextLine(cursor);

  SectionKind kind;
  const std::vector<std::string> first = LineTokens(reader, 2);
  if (!first.empty()) {
    for (const char* group : qxi::kGroupNames) {
      if (qxi::NamesEqual(first[0], group) && (first.size() < 2 || !IsNumber(first[1]))) {
        kind.master = true;
        return kind;
      }
    }
  }
  // Command lines follow the header line: count, per group, the lines that name its commands.
  std::map<std::string, int> matches;
  for (cursor = reader.NextLine(cursor); !reader.AtEnd(cursor); cursor = reader.NextLine(cursor)) {
    const std::vector<std::string> tokens = LineTokens(reader, 2);
    if (tokens.empty()) continue;
    for (const char* group : qxi::kGroupNames) {
      for (const qxi::CommandRow* row : qxi::CommandsOfGroup(group)) {
        if (qxi::NamesEqual(row->name, tokens[0])) ++matches[group];
      }
    }
  }
  int best = 0;
  for (const char* group : qxi::kGroupNames) {
    if (matches[group] > best) {
      best = matches[group];
      kind.group = group;
    }
  }
  return kind;
}

}  // namespace qxicheck
