#include "support/ini_text.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace qxi_test {
namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool IsHeader(const std::string& line) { return !line.empty() && line.front() == '['; }

}  // namespace

std::vector<std::string> FileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

bool HasSection(const std::vector<std::string>& lines, const std::string& section) {
  for (const auto& line : lines) {
    if (EqualIgnoringCase(line, "[" + section + "]")) return true;
  }
  return false;
}

std::vector<std::string> SectionLines(const std::vector<std::string>& lines,
                                      const std::string& section) {
  std::vector<std::string> result;
  bool inside = false;
  for (const auto& line : lines) {
    if (IsHeader(line)) {
      inside = EqualIgnoringCase(line, "[" + section + "]");
    } else if (inside) {
      result.push_back(line);
    }
  }
  return result;
}

std::vector<std::string> LinesOfSize(size_t total) {
  constexpr size_t kFullLine = 100;  // bytes, its NUL included
  std::vector<std::string> lines;
  while (total > 0) {
    size_t bytes = total >= 2 * kFullLine ? kFullLine : total;
    if (bytes > kFullLine) bytes = total / 2;  // keep the last two lines long enough to name
    char name[16];
    std::snprintf(name, sizeof name, "key%05zu=", lines.size());
    std::string line = name;
    line.resize(bytes - 1, 'v');
    lines.push_back(line);
    total -= bytes;
  }
  return lines;
}

std::string SectionText(const std::string& section, const std::vector<std::string>& lines) {
  std::string text = "[" + section + "]\r\n";
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace qxi_test
