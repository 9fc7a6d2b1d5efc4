#include "engine/params.h"

#include <typeinfo>

#include "engine/qx_err.h"
#include "engine/text_compare.h"
#include "paths/folder_macros.h"

namespace qxi {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return AsciiLower(c) - 'a' + 10;
}

// After a number or byte data the token must end: a blank, a line break or the end.
void RequireTokenEnd(const ScriptCursor& cursor, const SectionReader& reader) {
  if (!reader.AtLineEnd(cursor) && *cursor.pos != ' ') throw QXErr(kSyntaxError);
}

}  // namespace

ParamSpec::~ParamSpec() = default;

ScriptCursor ReadToken(ScriptCursor cursor, const SectionReader& reader, std::string& out) {
  out.clear();
  cursor = reader.SkipBlanks(cursor);
  if (reader.AtEnd(cursor)) throw QXErr(kSyntaxError);

  if (*cursor.pos == '"') {
    cursor.Advance();
    // An unclosed quote ends with the line.
    while (!reader.AtLineEnd(cursor)) {
      if (*cursor.pos != '"') {
        out += *cursor.pos;
        cursor.Advance();
        continue;
      }
      ScriptCursor after = cursor;
      after.Advance();
      if (!reader.AtEnd(after) && *after.pos == '"') {
        out += '"';
        after.Advance();
        cursor = after;
        continue;
      }
      RequireTokenEnd(after, reader);
      return after;
    }
    return cursor;
  }

  while (!reader.AtLineEnd(cursor) && *cursor.pos != ' ') {
    out += *cursor.pos;
    cursor.Advance();
  }
  return reader.SkipBlanks(cursor);
}

ScriptCursor StringParam::Parse(ScriptCursor cursor, const SectionReader& reader) {
  return ReadToken(cursor, reader, value_);
}

ScriptCursor PathParam::Parse(ScriptCursor cursor, const SectionReader& reader) {
  cursor = StringParam::Parse(cursor, reader);
  value_ = ExpandFolderMacros(value_);
  return cursor;
}

ScriptCursor IntegerParam::Parse(ScriptCursor cursor, const SectionReader& reader) {
  value_ = 0;
  cursor = reader.SkipBlanks(cursor);
  if (reader.AtLineEnd(cursor)) throw QXErr(kSyntaxError);
  bool negative = false;
  if (*cursor.pos == '-') {
    negative = true;
    cursor.Advance();
  }
  uint32_t value = 0;  // 32-bit arithmetic: large numbers wrap
  while (!reader.AtEnd(cursor) && *cursor.pos >= '0' && *cursor.pos <= '9') {
    value = value * 10u + static_cast<uint32_t>(*cursor.pos - '0');
    cursor.Advance();
  }
  if (negative) value = 0u - value;
  value_ = static_cast<int32_t>(value);
  RequireTokenEnd(cursor, reader);
  return reader.SkipBlanks(cursor);
}

ScriptCursor EnumParam::Parse(ScriptCursor cursor, const SectionReader& reader) {
  std::string token;
  cursor = ReadToken(cursor, reader, token);
  for (size_t i = 0; i < options_.size(); ++i) {
    if (NamesEqual(token, options_[i])) {
      value_ = static_cast<int32_t>(i);
      return cursor;
    }
  }
  throw QXErr(kEnumMismatch);
}

ScriptCursor AttributesParam::Parse(ScriptCursor cursor, const SectionReader& reader) {
  std::string token;
  cursor = ReadToken(cursor, reader, token);
  uint32_t mask = 0;
  for (char c : token) {
    switch (AsciiLower(c)) {
      case 'a': mask |= 0x20; break;
      case 'h': mask |= 0x02; break;
      case 'r': mask |= 0x01; break;
      case 's': mask |= 0x04; break;
      default: break;  // other letters are ignored
    }
  }
  mask_ = mask != 0 ? mask : 0x80;
  return cursor;
}

ScriptCursor BytesParam::Parse(ScriptCursor cursor, const SectionReader& reader) {
  bytes_.clear();
  cursor = reader.SkipBlanks(cursor);
  while (!reader.AtEnd(cursor) && IsHexDigit(*cursor.pos)) {
    int byte = HexValue(*cursor.pos);
    cursor.Advance();
    if (!reader.AtEnd(cursor) && IsHexDigit(*cursor.pos)) {
      byte = byte * 16 + HexValue(*cursor.pos);
      cursor.Advance();
    }
    bytes_.push_back(static_cast<uint8_t>(byte));
  }
  RequireTokenEnd(cursor, reader);
  return cursor;
}

ScriptCursor ParamList::ReadAll(ScriptCursor cursor, SectionReader& reader) {
  for (auto& param : params_) {
    reader.NextParam();
    cursor = param->Parse(cursor, reader);
  }
  return cursor;
}

template <typename Kind>
const Kind& ParamList::As(size_t index) const {
  const auto* param = dynamic_cast<const Kind*>(params_.at(index).get());
  if (param == nullptr) throw std::bad_cast();
  return *param;
}

const std::string& ParamList::Text(size_t index) const { return As<StringParam>(index).text(); }
int32_t ParamList::Integer(size_t index) const { return As<IntegerParam>(index).value(); }
int32_t ParamList::Enum(size_t index) const { return As<EnumParam>(index).value(); }
uint32_t ParamList::Attributes(size_t index) const {
  return As<AttributesParam>(index).mask();
}
const std::vector<uint8_t>& ParamList::Bytes(size_t index) const {
  return As<BytesParam>(index).bytes();
}

}  // namespace qxi
