#include "section_kind.h"

#include <map>
#include <vector>

#include "engine/command_table.h"
#include "engine/condition_prefix.h"
#include "engine/params.h"
#include "engine/qx_err.h"
#include "engine/section_reader.h"
#include "engine/text_compare.h"

namespace qxicheck {
namespace {

// The first two tokens of the line at `cursor`, after its condition prefix.
std::vector<std::string> FirstTokens(qxi::ScriptCursor cursor, const qxi::SectionReader& reader) {
  std::vector<std::string> tokens;
  try {
    cursor = reader.SkipBlanks(cursor);
    if (!reader.AtEnd(cursor) && *cursor.pos == '@') {
      std::string name;
      bool negate = false;
      cursor = qxi::ReadPrefixName(cursor, reader, name, negate);
    }
    while (tokens.size() < 2 && !reader.AtLineEnd(reader.SkipBlanks(cursor))) {
      tokens.emplace_back();
      cursor = qxi::ReadToken(cursor, reader, tokens.back());
    }
  } catch (const qxi::QXErr&) {
    // Whatever could be read.
  }
  return tokens;
}

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
  const std::vector<std::string> first = FirstTokens(cursor, reader);
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
    const std::vector<std::string> tokens = FirstTokens(cursor, reader);
    if (tokens.empty()) continue;
    for (size_t i = 0; i < qxi::kCommandCount; ++i) {
      if (qxi::NamesEqual(qxi::kCommandTable[i].name, tokens[0])) {
        ++matches[qxi::kCommandTable[i].group];
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
