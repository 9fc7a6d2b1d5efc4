#include "line_hints.h"

#include <algorithm>
#include <cstring>

#include "engine/command_group.h"
#include "engine/command_row.h"
#include "engine/condition_prefix.h"
#include "engine/folder_macros.h"
#include "engine/master_runner.h"
#include "engine/params.h"
#include "engine/qx_err.h"
#include "engine/text_compare.h"

namespace qxicheck {
namespace {

bool StartsWith(const char* message, int code) {
  const qxi::QXErr error(code);
  const char* text = error.what();
  return std::strncmp(message, text, std::strlen(text)) == 0;
}

// Where the items of the current line of `reader` begin: after its condition prefix unless
// `header` (a header line has none).
qxi::ScriptCursor FirstItem(const qxi::SectionReader& reader, bool header) {
  qxi::ScriptCursor cursor = reader.SkipBlanks(reader.line_start());
  if (!header && !reader.AtEnd(cursor) && *cursor.pos == '@') {
    std::string name;
    bool negate = false;
    cursor = qxi::ReadPrefixName(cursor, reader, name, negate);
  }
  return cursor;
}

// One item of a line as written.
struct Item {
  bool end_of_file = false;  // the section's text ends before it
  bool missing = false;      // the line ends before it
  std::string raw;           // as written, quotes included
  qxi::ScriptCursor at;
};

// Item `index` (0 for the first) of the current line of `reader`; the items before it are
// read as basic tokens.
Item ItemAt(const qxi::SectionReader& reader, bool header, size_t index) {
  Item item;
  try {
    qxi::ScriptCursor cursor = FirstItem(reader, header);
    std::string skipped;
    for (size_t i = 0; i < index; ++i) cursor = qxi::ReadToken(cursor, reader, skipped);
    cursor = reader.SkipBlanks(cursor);
    item.at = cursor;
    item.end_of_file = reader.AtEnd(cursor);
    item.missing = reader.AtLineEnd(cursor);
    if (!item.missing && *cursor.pos == '"') {
      // A quoted item: to its closing quote ("" stands inside it), then on to a blank.
      item.raw += '"';
      cursor.Advance();
      while (!reader.AtLineEnd(cursor)) {
        const char c = *cursor.pos;
        item.raw += c;
        cursor.Advance();
        if (c != '"') continue;
        if (reader.AtLineEnd(cursor) || *cursor.pos != '"') break;
        item.raw += '"';
        cursor.Advance();
      }
    }
    while (!reader.AtLineEnd(cursor) && *cursor.pos != ' ') {
      item.raw += *cursor.pos;
      cursor.Advance();
    }
  } catch (const qxi::QXErr&) {
    item.end_of_file = true;
  }
  return item;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Listed(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += (list.empty() ? "" : ", ") + name;
  return list;
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates) {
  const std::string closest = ClosestName(word, candidates);
  return closest.empty() ? "" : "; did you mean " + Quoted(closest) + "?";
}

// The kind of a parameter as the script reference names it.
std::string KindText(const qxi::ParamSpec& param) {
  if (dynamic_cast<const qxi::RootKeyParam*>(&param) != nullptr) return "a root key";
  if (dynamic_cast<const qxi::EnumParam*>(&param) != nullptr) return "a name of a list";
  if (dynamic_cast<const qxi::IntegerParam*>(&param) != nullptr) return "a number";
  if (dynamic_cast<const qxi::AttributesParam*>(&param) != nullptr) return "attribute letters";
  if (dynamic_cast<const qxi::BytesParam*>(&param) != nullptr) return "byte data";
  return "a text";
}

// What is wrong with `item`, read as a parameter like `spec`; empty when it looks right.
std::string ItemProblem(const qxi::ParamSpec& spec, const Item& item,
                        const qxi::SectionReader& reader) {
  if (item.end_of_file) return "the file ends before it; end the last line with a line break";
  const auto* choice = dynamic_cast<const qxi::EnumParam*>(&spec);
  if (item.missing) {
    if (dynamic_cast<const qxi::IntegerParam*>(&spec) != nullptr) {
      return "it is missing (a number is never optional)";
    }
    return choice != nullptr ? "it is missing" : "";
  }
  std::string text;
  try {
    qxi::ReadToken(item.at, reader, text);
  } catch (const qxi::QXErr&) {
    return "a closing quote must be followed by a blank or the line end: " + item.raw;
  }
  if (choice != nullptr) {
    return Quoted(text) + " is not one of " + Listed(choice->options()) +
           DidYouMean(text, choice->options());
  }
  if (dynamic_cast<const qxi::IntegerParam*>(&spec) != nullptr) {
    return Quoted(item.raw) + " is not a number";
  }
  if (dynamic_cast<const qxi::BytesParam*>(&spec) != nullptr) {
    return Quoted(item.raw) + " is not byte data (hexadecimal digit pairs, such as 00FF)";
  }
  if (dynamic_cast<const qxi::PathParam*>(&spec) == nullptr) return "";
  // The folder macro that the expansion refused.
  std::vector<std::string> macros(std::begin(qxi::kFolderMacroList),
                                  std::end(qxi::kFolderMacroList));
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '$') continue;
    if (i + 1 < text.size() && text[i + 1] == '$') {
      ++i;
      continue;
    }
    const size_t close = text.find('$', i + 1);
    if (close == std::string::npos) {
      return i + 1 == text.size() ? "a lone \"$\" ends it (write $$ for a $)"
                                  : Quoted(text.substr(i)) + " has no closing \"$\"";
    }
    const std::string name = text.substr(i + 1, close - i - 1);
    if (std::none_of(macros.begin(), macros.end(),
                     [&](const std::string& m) { return qxi::NamesEqual(m, name); })) {
      return Quoted("$" + name + "$") + " is not a folder macro (" + Listed(macros) +
             "; $$ stands for a $)" + DidYouMean(name, macros);
    }
    i = close;
  }
  return "";
}

// "Param #P of COMMAND, "Display name" (kind): problem".
std::string ParamHint(const std::string& owner, int32_t number, const qxi::ParamSpec& spec,
                      const Item& item, const qxi::SectionReader& reader) {
  const std::string problem = ItemProblem(spec, item, reader);
  std::string hint = "Param #" + std::to_string(number) + " of " + owner + ", " +
                     Quoted(spec.display_name()) + " (" + KindText(spec) + ")";
  return problem.empty() ? hint : hint + ": " + problem;
}

std::vector<std::string> CommandNames(const qxi::CommandGroup& group) {
  std::vector<std::string> names;
  for (const auto& command : group.commands()) names.push_back(command->Name());
  return names;
}

// The walker of the Conditions section is the group without a name.
bool IsConditions(const qxi::CommandGroup& group) { return group.Name().empty(); }

std::string UnknownCommandHint(const qxi::CommandGroup& group, const std::string& token) {
  const bool tests = IsConditions(group);
  if (token.empty()) return "the line names no command";
  if (!tests) {
    for (const char* other : qxi::kGroupNames) {
      if (qxi::NamesEqual(other, group.Name())) continue;
      for (const qxi::CommandRow* row : qxi::CommandsOfGroup(other)) {
        if (!qxi::NamesEqual(row->name, token)) continue;
        return Quoted(token) + " is a command of group " + other + ", and section [" +
               group.section_name() + "] is run with group " + group.Name();
      }
    }
  }
  const std::string what = tests ? "a condition test" : "a command of group " + group.Name();
  return Quoted(token) + " is not " + what + DidYouMean(token, CommandNames(group));
}

std::string CommandLineHint(const char* message, const qxi::CommandGroup& group) {
  const bool tests = IsConditions(group);
  const int32_t param = group.param();
  if (!tests && group.line() == 1) {
    // The header line: a text for the host's dialog and a number.
    std::vector<std::string> tokens = LineTokens(group, 1);
    const std::vector<std::string> names = CommandNames(group);
    if (!tokens.empty() && std::any_of(names.begin(), names.end(), [&](const std::string& n) {
          return qxi::NamesEqual(n, tokens[0]);
        })) {
      return "the first line of a command section is its header line (a text and a number), "
             "so this command is not run";
    }
    const qxi::StringParam text("Dialog text");
    const qxi::IntegerParam number("Dialog number");
    const qxi::ParamSpec& spec = param == 1 ? static_cast<const qxi::ParamSpec&>(text) : number;
    const std::string problem = ItemProblem(spec, ItemAt(group, true, static_cast<size_t>(param) - 1), group);
    const std::string what = param == 1 ? "the header line's text" : "the header line's number";
    return problem.empty() ? what : what + ": " + problem;
  }
  std::vector<std::string> tokens = LineTokens(group, 1);
  const std::string token = tokens.empty() ? std::string() : tokens[0];
  if (param == 0) return StartsWith(message, qxi::kUnknownCommand) ? UnknownCommandHint(group, token) : "";
  for (const auto& command : group.commands()) {
    if (!qxi::NamesEqual(command->Name(), token)) continue;
    const qxi::ParamList& params = command->params();
    if (param < 1 || static_cast<size_t>(param) > params.size()) return "";
    return ParamHint(command->Name(), param, params.at(static_cast<size_t>(param) - 1),
                     ItemAt(group, false, static_cast<size_t>(param)), group);
  }
  return "";
}

std::string MasterLineHint(const char* message, const qxi::MasterRunner& master) {
  const int32_t param = master.param();
  std::vector<std::string> tokens = LineTokens(master, static_cast<size_t>(param) + 1);
  if (param == 0 && StartsWith(message, qxi::kEnumMismatch) && !tokens.empty()) {
    std::vector<std::string> groups(std::begin(qxi::kGroupNames), std::end(qxi::kGroupNames));
    return Quoted(tokens[0]) + " is not a group (" + Listed(groups) + ")" +
           DidYouMean(tokens[0], groups);
  }
  if (param >= 1 && StartsWith(message, qxi::kSectionNotFound) &&
      tokens.size() > static_cast<size_t>(param)) {
    return "there is no section [" + tokens[static_cast<size_t>(param)] + "]";
  }
  if (param >= 1 && StartsWith(message, qxi::kSyntaxError)) {
    const qxi::StringParam name("Section name");
    return ItemProblem(name, ItemAt(master, false, static_cast<size_t>(param)), master);
  }
  return "";
}

}  // namespace

std::vector<std::string> LineTokens(const qxi::SectionReader& reader, size_t count) {
  std::vector<std::string> tokens;
  try {
    qxi::ScriptCursor cursor = FirstItem(reader, false);
    while (tokens.size() < count && !reader.AtLineEnd(reader.SkipBlanks(cursor))) {
      tokens.emplace_back();
      cursor = qxi::ReadToken(cursor, reader, tokens.back());
    }
  } catch (const qxi::QXErr&) {
    // What could be read is enough.
  }
  return tokens;
}

std::string LineHint(const char* message, const qxi::SectionReader& where) noexcept {
  // A hint is an extra: whatever it meets, the report it goes with stands.
  try {
    if (const auto* group = dynamic_cast<const qxi::CommandGroup*>(&where)) {
      return CommandLineHint(message, *group);
    }
    if (const auto* master = dynamic_cast<const qxi::MasterRunner*>(&where)) {
      return MasterLineHint(message, *master);
    }
  } catch (const std::exception&) {
  }
  return "";
}

std::string UndefinedConditionHint(const std::string& name, bool script_has_conditions,
                                   bool in_conditions) {
  if (!script_has_conditions) return "the script has no [Conditions] section";
  if (in_conditions) return "no earlier line of [Conditions] defines " + Quoted(name);
  return "no line of [Conditions] defines " + Quoted(name);
}

std::string ClosestName(const std::string& word, const std::vector<std::string>& candidates) {
  std::string best;
  size_t best_distance = 3;
  for (const std::string& candidate : candidates) {
    // Edit distance, letters compared as names compare them.
    std::vector<size_t> row(candidate.size() + 1);
    for (size_t j = 0; j <= candidate.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= word.size(); ++i) {
      size_t diagonal = row[0];
      row[0] = i;
      for (size_t j = 1; j <= candidate.size(); ++j) {
        const size_t above = row[j];
        const bool same = qxi::AsciiLower(word[i - 1]) == qxi::AsciiLower(candidate[j - 1]);
        row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
        diagonal = above;
      }
    }
    const size_t distance = row[candidate.size()];
    if (distance < best_distance && distance < word.size()) {
      best = candidate;
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace qxicheck
