#include "engine/params.h"

#include <iterator>
#include <typeinfo>

#include "engine/folder_macros.h"
#include "engine/qx_err.h"
#include "engine/text_compare.h"

namespace qxi {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return AsciiLower(c) - 'a' + 10;
}

// After a number, byte data or a closing quote the token must end: a blank, a line break or
// the end.
bool AtTokenEnd(const ScriptCursor& cursor, const SectionReader& reader) {
  return reader.AtLineEnd(cursor) || *cursor.pos == ' ';
}
void RequireTokenEnd(const ScriptCursor& cursor, const SectionReader& reader) {
  if (!AtTokenEnd(cursor, reader)) throw QXErr(kSyntaxError);
}

// From an opening quote: the quoted text into `out` (when given), "" standing for one quote.
// Returns the cursor just past the closing quote, or at the line end, which ends an unclosed
// quote.
ScriptCursor ScanQuoted(ScriptCursor cursor, const SectionReader& reader, std::string* out) {
  cursor.Advance();
  while (!reader.AtLineEnd(cursor)) {
    const char c = *cursor.pos;
    cursor.Advance();
    if (c != '"') {
      if (out != nullptr) *out += c;
    } else if (!reader.AtLineEnd(cursor) && *cursor.pos == '"') {
      if (out != nullptr) *out += '"';
      cursor.Advance();
    } else {
      return cursor;
    }
  }
  return cursor;
}

// A new parameter object of the kind and display name `def` gives.
std::unique_ptr<ParamSpec> MakeParam(const ParamDef& def) {
  switch (def.kind) {
    case ParamKind::kString: return std::make_unique<StringParam>(def.display_name);
    case ParamKind::kPath: return std::make_unique<PathParam>(def.display_name);
    case ParamKind::kInteger: return std::make_unique<IntegerParam>(def.display_name);
    case ParamKind::kAttributes: return std::make_unique<AttributesParam>(def.display_name);
    case ParamKind::kRootKey: return std::make_unique<RootKeyParam>(def.display_name);
    case ParamKind::kBytes: return std::make_unique<BytesParam>(def.display_name);
  }
  return nullptr;
}

}  // namespace

ParamSpec::~ParamSpec() = default;

ScriptCursor ReadToken(ScriptCursor cursor, const SectionReader& reader, std::string& out) {
  out.clear();
  cursor = reader.SkipBlanks(cursor);
  if (reader.AtEnd(cursor)) throw QXErr(kSyntaxError);

  if (*cursor.pos == '"') {
    // An unclosed quote ends with the line; after a closing quote the token must end.
    const ScriptCursor after = ScanQuoted(cursor, reader, &out);
    RequireTokenEnd(after, reader);
    return after;
  }

  while (!reader.AtLineEnd(cursor) && *cursor.pos != ' ') {
    out += *cursor.pos;
    cursor.Advance();
  }
  return reader.SkipBlanks(cursor);
}

ScriptCursor SkipToken(ScriptCursor cursor, const SectionReader& reader) {
  if (!reader.AtLineEnd(cursor) && *cursor.pos == '"') cursor = ScanQuoted(cursor, reader, nullptr);
  while (!AtTokenEnd(cursor, reader)) cursor.Advance();
  return cursor;
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

RootKeyParam::RootKeyParam(std::string display_name)
    : EnumParam(std::move(display_name), {std::begin(kRootKeyNames), std::end(kRootKeyNames)}) {}

ParamList ParamsOf(const ParamDef (&params)[kMaxParams]) {
  ParamList list;
  for (size_t i = 0; i < ParamCount(params); ++i) list.Add(MakeParam(params[i]));
  return list;
}

ScriptCursor ParamList::ReadAll(ScriptCursor cursor, SectionReader& reader) {
  for (auto& param : params_) {
    reader.NextParam();
    cursor = param->Parse(cursor, reader);
  }
  return cursor;
}

// Out of line: every action reads through these, and the check is written once.
template <typename Kind, ParamKind Read>
const Kind& ParamList::As(ParamAt<Read> at) const {
  const auto* param = dynamic_cast<const Kind*>(params_.at(at.position).get());
  if (param == nullptr) throw std::bad_cast();
  return *param;
}

const std::string& ParamList::operator[](StringAt at) const { return As<StringParam>(at).text(); }
const std::string& ParamList::operator[](PathAt at) const { return As<StringParam>(at).text(); }
int32_t ParamList::operator[](IntegerAt at) const { return As<IntegerParam>(at).value(); }
uint32_t ParamList::operator[](AttributesAt at) const { return As<AttributesParam>(at).mask(); }
uint32_t ParamList::operator[](RootKeyAt at) const { return As<RootKeyParam>(at).RootHandle(); }
const std::vector<uint8_t>& ParamList::operator[](BytesAt at) const {
  return As<BytesParam>(at).bytes();
}

}  // namespace qxi
