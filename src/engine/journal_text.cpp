#include "engine/journal_text.h"

namespace qxi {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Registry type numbers, as the system defines them.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

// A text value as the registry functions store it: the text, one terminating NUL, no other.
bool IsPlainText(std::string_view bytes) {
  return !bytes.empty() && bytes.back() == '\0' &&
         bytes.find('\0') == bytes.size() - 1;
}

}  // namespace

std::string EscapeJournalField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (char c : field) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string JournalLine(const std::vector<std::string_view>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += '\t';
    line += EscapeJournalField(fields[i]);
  }
  return line;
}

bool ParseJournalLine(std::string_view line, std::vector<std::string>& fields) {
  fields.assign(1, std::string());
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
      continue;
    }
    if (c != '\\') {
      fields.back() += c;
      continue;
    }
    const char next = i + 1 < line.size() ? line[++i] : '\0';
    switch (next) {
      case '\\': fields.back() += '\\'; break;
      case 't': fields.back() += '\t'; break;
      case 'n': fields.back() += '\n'; break;
      case 'r': fields.back() += '\r'; break;
      default: fields.clear(); return false;
    }
  }
  return true;
}

std::string HexBytes(std::string_view bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char byte : bytes) {
    hex += kHexDigits[byte >> 4];
    hex += kHexDigits[byte & 15];
  }
  return hex;
}

void RegistryValueFields(uint32_t type, std::string_view bytes, std::string& type_field,
                         std::string& data_field) {
  if ((type == kRegSz || type == kRegExpandSz) && IsPlainText(bytes)) {
    type_field = type == kRegSz ? kTypeSz : kTypeExpandSz;
    data_field.assign(bytes.substr(0, bytes.size() - 1));
  } else if (type == kRegDword && bytes.size() == 4) {
    type_field = kTypeDword;
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])); };
    data_field = std::to_string(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
  } else {
    type_field = type == kRegBinary ? std::string(kTypeBinary) : "hex(" + std::to_string(type) + ")";
    data_field = HexBytes(bytes);
  }
}

}  // namespace qxi
