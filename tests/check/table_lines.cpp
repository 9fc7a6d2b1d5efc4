#include "table_lines.h"

#include <string>

#include "engine/command_row.h"
#include "engine/master_runner.h"

namespace qxi_differential {
namespace {

// Tokens that some parameter kind refuses or reads otherwise than it looks.
const char* const kBadTokens[] = {
    "\"a\"x", "$NOSUCH$", "$WINDIR", "abc$", "$$WINDIR$", "12ab", "+5", "-", "4294967296",
    "0x12", "ABC", "HKEY_CURRENT_USER", "hkcu", "\"\"", "\"unclosed ; text", "; comment", "@X"};

// A token every parameter of `kind` reads without complaint.
const char* GoodToken(qxi::ParamKind kind) {
  switch (kind) {
    case qxi::ParamKind::kString: return "Ready";
    case qxi::ParamKind::kPath: return "$TEMP$qxi";
    case qxi::ParamKind::kInteger: return "1";
    case qxi::ParamKind::kAttributes: return "RH";
    case qxi::ParamKind::kRootKey: return "HKCU";
    case qxi::ParamKind::kBytes: return "00FF";
  }
  return "";
}

// The lines of one command: all parameters right, then each one wrong in every way.
std::string Lines(const std::string& name, const qxi::ParamDef (&params)[qxi::kMaxParams]) {
  const size_t count = qxi::ParamCount(params);
  std::string lines;
  for (size_t wrong = 0; wrong <= count; ++wrong) {
    for (const char* bad : kBadTokens) {
      std::string line = name;
      for (size_t i = 0; i < count; ++i) {
        line += " ";
        line += i == wrong ? bad : GoodToken(params[i].kind);
      }
      lines += line + "\r\n";
      if (wrong == count) break;  // all right: once
    }
  }
  return lines;
}

}  // namespace

std::string TableLinesScript() {
  std::string script = "[Main]\r\n";
  for (const char* group : qxi::kGroupNames) script += group + std::string(" T") + group + "\r\n";
  for (const char* group : qxi::kGroupNames) {
    script += "[T" + std::string(group) + "]\r\n\"" + group + "\" 1\r\n";
    for (const qxi::CommandRow* row : qxi::CommandsOfGroup(group)) {
      script += Lines(row->name, row->params);
    }
  }
  script += "[Conditions]\r\n";
  for (const qxi::ConditionRow* test : qxi::ConditionTests()) {
    script += Lines(test->name, test->params);
  }
  return script;
}

}  // namespace qxi_differential
