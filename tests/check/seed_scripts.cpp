#include "seed_scripts.h"

#include <cctype>

namespace qxi_differential {
namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes the literal whose opening quote is at `i`; leaves `i` after its closing quote.
std::string Literal(const std::string& code, size_t& i) {
  std::string text;
  for (++i; i < code.size() && code[i] != '"'; ++i) {
    if (code[i] != '\\' || i + 1 >= code.size()) {
      text += code[i];
      continue;
    }
    const char c = code[++i];
    switch (c) {
      case 'n': text += '\n'; break;
      case 'r': text += '\r'; break;
      case 't': text += '\t'; break;
      case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': {
        int value = 0;
        for (int k = 0; k < 3 && i < code.size() && code[i] >= '0' && code[i] <= '7'; ++k) {
          value = value * 8 + (code[i++] - '0');
        }
        --i;
        text += static_cast<char>(value);
        break;
      }
      case 'x': {
        int value = 0;
        while (i + 1 < code.size() && HexDigit(code[i + 1]) >= 0) {
          value = value * 16 + HexDigit(code[++i]);
        }
        text += static_cast<char>(value);
        break;
      }
      default: text += c; break;  // \" \\ \'
    }
  }
  if (i < code.size()) ++i;  // a literal cut short by the file's end ends there
  return text;
}

// The raw literal whose opening quote (after its R) is at `i`: its text as it stands; leaves
// `i` after its closing quote, or at the end of `code` when it is not closed.
std::string RawLiteral(const std::string& code, size_t& i) {
  const size_t open = code.find('(', i);
  if (open == std::string::npos) {
    i = code.size();
    return std::string();
  }
  const std::string close = ")" + code.substr(i + 1, open - i - 1) + "\"";
  const size_t end = code.find(close, open + 1);
  if (end == std::string::npos) {
    i = code.size();
    return code.substr(open + 1);
  }
  i = end + close.size();
  return code.substr(open + 1, end - open - 1);
}

// The literal, plain or raw, whose opening quote is at `i`.
std::string AnyLiteral(const std::string& code, size_t& i) {
  return i > 0 && code[i - 1] == 'R' ? RawLiteral(code, i) : Literal(code, i);
}

// Past blanks, line breaks and comments from `i`.
size_t SkipSpaceAndComments(const std::string& code, size_t i) {
  for (;;) {
    while (i < code.size() && std::isspace(static_cast<unsigned char>(code[i]))) ++i;
    if (code.compare(i, 2, "//") == 0) {
      i = code.find('\n', i);
      if (i == std::string::npos) return code.size();
    } else if (code.compare(i, 2, "/*") == 0) {
      i = code.find("*/", i);
      if (i == std::string::npos) return code.size();
      i += 2;
    } else {
      return i;
    }
  }
}

std::vector<std::string> ScriptsInCode(const std::string& code) {
  std::vector<std::string> scripts;
  size_t i = 0;
  while (i < code.size()) {
    const char c = code[i];
    if (code.compare(i, 2, "//") == 0 || code.compare(i, 2, "/*") == 0) {
      i = SkipSpaceAndComments(code, i);
    } else if (c == '\'' && i > 0 && std::isalnum(static_cast<unsigned char>(code[i - 1]))) {
      ++i;  // a digit separator (10'000)
    } else if (c == '\'') {
      // A character literal: its quote is not a string's.
      i = code.find('\'', i + (code.compare(i, 2, "'\\") == 0 ? 3 : 2)) + 1;
      if (i == 0) break;
    } else if (c == '"') {
      std::string text = AnyLiteral(code, i);
      for (size_t next = SkipSpaceAndComments(code, i); next + 1 < code.size();
           next = SkipSpaceAndComments(code, i)) {
        // The next literal of the run: "..." or R"(...)".
        if (code[next] == 'R' && code[next + 1] == '"') ++next;
        else if (code[next] != '"') break;
        i = next;
        text += AnyLiteral(code, i);
      }
      if (text.find_first_of("\r\n") != std::string::npos && text.find('[') != std::string::npos) {
        scripts.push_back(text);
      }
    } else {
      ++i;
    }
  }
  return scripts;
}

std::vector<std::string> IniBlocks(const std::string& markdown) {
  std::vector<std::string> blocks;
  size_t at = 0;
  for (;;) {
    at = markdown.find("```ini\n", at);
    if (at == std::string::npos) break;
    at += 7;
    const size_t end = markdown.find("```", at);
    if (end == std::string::npos) break;
    blocks.push_back(markdown.substr(at, end - at));
    at = end + 3;
  }
  return blocks;
}

}  // namespace

std::vector<std::string> ScriptsOfSeed(const std::string& name, const std::string& bytes) {
  if (EndsWith(name, ".cpp")) return ScriptsInCode(bytes);
  if (EndsWith(name, ".md")) return IniBlocks(bytes);
  return {bytes};
}

}  // namespace qxi_differential
