#include "mutation.h"

#include <algorithm>
#include <cctype>

namespace qxi_robust {
namespace {

const char* const kCommands[] = {
    "CopyFile",  "ExtractQXZ",  "MakeDir",    "DelFile",      "DelDir",        "CreateFile",
    "RenameFile", "MoveFile",   "CreateShortcut", "CreateSection", "DeleteSection", "DeleteKey",
    "AppendLine", "SetKey",     "AppendKey",  "NOP",          "Include",       "CreateKey",
    "DeleteValue", "IncValue",  "SetSzValue", "SetDwValue",   "SetBinValue",   "RegisterPriority",
    "FileExists", "FileSize",   "FileLine",   "RegKeyExists", "RegValueExists", "RegValueDw",
    "RegValueStr"};
const char* const kGroups[] = {"Misc", "INI", "FileOps", "Reg", "FileCopy"};
const char* const kTokens[] = {
    "$WINDIR$", "$SYSDIR$", "$TEMP$", "$PROGS$", "$DESKTOP$", "$CDROM$", "$$", "$BAD$", "\"\"",
    "\"a \"\" b\"", "HKLM", "HKCU", "hkey_users", "-1", "4294967296", "0", "00FF", "0x12", "AHRS",
    "out", "out\\sub\\f.txt", "case.qxs", "[Main]", "@", "@!", ";", "\"", "..\\..", "C:\\",
    "Software\\QxiRobust", "case.qxz"};
constexpr const char* kBlocking[] = {"messagebox", "runapp", "reboot", "logoff", "shutdown"};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end + 1 - start));
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line;
  return text;
}

bool NamesHostFiles(const std::string& line) {
  return line.find("\\\\?\\") != std::string::npos || line.find("\\\\.\\") != std::string::npos ||
         line.find("//?/") != std::string::npos;
}

const char* Pick(Random& random, const char* const* items, size_t count) {
  return items[random.Below(count)];
}
template <size_t N>
const char* Pick(Random& random, const char* const (&items)[N]) {
  return Pick(random, items, N);
}

// The mutations. Each changes `text` and names itself in `what`.
void FlipBytes(Random& random, std::string& text, std::string& what) {
  size_t count = 1 + random.Below(8);
  for (size_t i = 0; i < count && !text.empty(); ++i) {
    text[random.Below(text.size())] ^= static_cast<char>(1 << random.Below(8));
  }
  what += " flip" + std::to_string(count);
}

void InsertBytes(Random& random, std::string& text, std::string& what) {
  static const char kSpecial[] = {'\0', '\r', '\n', '[', ']', '"', '@', '!', '$', ';', ' ', '\\'};
  size_t count = 1 + random.Below(16);
  for (size_t i = 0; i < count; ++i) {
    char c = random.Below(2) ? kSpecial[random.Below(sizeof kSpecial)]
                             : static_cast<char>(random.Below(256));
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(random.Below(text.size() + 1)), c);
  }
  what += " insert" + std::to_string(count);
}

void Truncate(Random& random, std::string& text, std::string& what) {
  text.resize(random.Below(text.size() + 1));
  what += " truncate" + std::to_string(text.size());
}

void SwapLines(Random& random, std::string& text, std::string& what) {
  std::vector<std::string> lines = SplitLines(text);
  if (lines.size() < 2) return;
  std::swap(lines[random.Below(lines.size())], lines[random.Below(lines.size())]);
  if (random.Below(2)) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(random.Below(lines.size())),
                                    lines[random.Below(lines.size())]);
  text = JoinLines(lines);
  what += " swap-lines";
}

// Replaces one blank-separated token by another token of the script or of the dictionary.
void SwapTokens(Random& random, std::string& text, std::string& what) {
  std::vector<std::pair<size_t, size_t>> tokens;
  for (size_t at = 0; at < text.size();) {
    size_t start = text.find_first_not_of(" \t\r\n", at);
    if (start == std::string::npos) break;
    size_t end = text.find_first_of(" \t\r\n", start);
    if (end == std::string::npos) end = text.size();
    tokens.emplace_back(start, end - start);
    at = end;
  }
  if (tokens.empty()) return;
  auto [start, length] = tokens[random.Below(tokens.size())];
  std::string replacement;
  switch (random.Below(4)) {
    case 0: {
      auto [from, from_length] = tokens[random.Below(tokens.size())];
      replacement = text.substr(from, from_length);
      break;
    }
    case 1: replacement = Pick(random, kCommands); break;
    case 2: replacement = Pick(random, kGroups); break;
    default: replacement = Pick(random, kTokens); break;
  }
  text.replace(start, length, replacement);
  what += " token=" + replacement;
}

void HugeToken(Random& random, std::string& text, std::string& what) {
  size_t length = 1000 + random.Below(200000);
  std::string token;
  switch (random.Below(3)) {
    case 0: token = std::string(length, 'A'); break;
    case 1: token = "\"" + std::string(length, 'q') + "\""; break;
    default:
      for (size_t i = 0; i < length / 8; ++i) token += "$WINDIR$";
      break;
  }
  std::vector<std::string> lines = SplitLines(text);
  size_t at = random.Below(lines.size() + 1);
  std::string line = std::string(Pick(random, kCommands)) + " " + token + " " + token + "\r\n";
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
  text = JoinLines(lines);
  what += " huge" + std::to_string(length);
}

// A random command line with random tokens, in a random place.
void RandomLine(Random& random, std::string& text, std::string& what) {
  std::string line = random.Below(4) == 0 ? "@" + std::string(random.Below(2) ? "!" : "") + "X " : "";
  line += Pick(random, kCommands);
  size_t count = random.Below(7);
  for (size_t i = 0; i < count; ++i) line += std::string(" ") + Pick(random, kTokens);
  line += "\r\n";
  std::vector<std::string> lines = SplitLines(text);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(random.Below(lines.size() + 1)), line);
  text = JoinLines(lines);
  what += " line";
}

// A chain of scripts, each including the next, the last including the first or itself.
void DeepInclude(Random& random, Case& c, std::string& text, std::string& what) {
  size_t depth = 1 + random.Below(40);
  for (size_t i = 0; i < depth; ++i) {
    std::string next = i + 1 < depth ? "inc" + std::to_string(i + 1) + ".qxs"
                                     : (random.Below(2) ? "inc0.qxs" : "case.qxs");
    c.files.push_back({"inc" + std::to_string(i) + ".qxs",
                       "[M]\r\nMisc I\r\n[I]\r\nI 2\r\nNOP\r\nInclude " + next + " M\r\n"});
  }
  text = "[M]\r\nMisc Deep\r\n[Deep]\r\nDeep 1\r\nInclude inc0.qxs M\r\n" + text;
  what += " include" + std::to_string(depth);
}

}  // namespace

uint64_t Random::Next() {
  // splitmix64
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::string FilterBlockingLines(const std::string& text) {
  // Whatever way the engine splits lines (CR, LF or both) and reads the command word (quoted,
  // after a prefix), a piece of text between line breaks that holds a blocking word anywhere
  // is one the harness cannot run: it is replaced as a whole.
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string piece = text.substr(start, end - start);
    std::string lower = piece;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    bool blocking = NamesHostFiles(piece);
    for (const char* word : kBlocking) blocking = blocking || lower.find(word) != std::string::npos;
    out += blocking ? "NOP" : piece;
    size_t breaks = text.find_first_not_of("\r\n", end);
    if (breaks == std::string::npos) breaks = text.size();
    out += text.substr(end, breaks - end);
    start = breaks;
  }
  return out;
}

Case MakeCase(uint64_t seed, uint64_t number, const std::vector<std::string>& scripts,
              const std::vector<std::string>& archives) {
  Random random(seed * 0x100000001B3ull ^ number);
  Case c;
  c.section = random.Below(8) == 0 ? "" : "Main";
  const bool archive_case = !archives.empty() && random.Below(4) == 0;
  std::string text;
  if (archive_case) {
    std::string archive = archives[random.Below(archives.size())];
    std::string what;
    size_t count = 1 + random.Below(3);
    for (size_t i = 0; i < count; ++i) {
      switch (random.Below(3)) {
        case 0: FlipBytes(random, archive, what); break;
        case 1: InsertBytes(random, archive, what); break;
        default: Truncate(random, archive, what); break;
      }
    }
    c.files.push_back({"case.qxz", archive});
    text = "[Main]\r\nFileCopy X\r\n[X]\r\nX 1\r\nExtractQXZ case.qxz out\r\n";
    c.description = "archive" + what;
  } else {
    text = scripts.empty() ? std::string() : scripts[random.Below(scripts.size())];
    size_t count = 1 + random.Below(4);
    std::string what = "script";
    for (size_t i = 0; i < count; ++i) {
      switch (random.Below(8)) {
        case 0: FlipBytes(random, text, what); break;
        case 1: InsertBytes(random, text, what); break;
        case 2: Truncate(random, text, what); break;
        case 3: SwapLines(random, text, what); break;
        case 4: HugeToken(random, text, what); break;
        case 5: DeepInclude(random, c, text, what); break;
        case 6: RandomLine(random, text, what); break;
        default: SwapTokens(random, text, what); break;
      }
    }
    c.description = what;
  }
  c.files.push_back({"case.qxs", text});
  for (auto& file : c.files) {
    if (file.name != "case.qxz") file.bytes = FilterBlockingLines(file.bytes);
  }
  return c;
}

}  // namespace qxi_robust
