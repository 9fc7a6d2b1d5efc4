// Parameter kinds: each reads its own token of a script line from the cursor and keeps the
// value of the last line read. ParamList is the ordered parameters of one command, read by
// the command's action through named positions (ParamAt) that carry the kind they expect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/script_cursor.h"
#include "engine/section_reader.h"

namespace qxi {

/// The kinds of parameter a command row can name: StringParam, PathParam, and so on.
enum class ParamKind { kString, kPath, kInteger, kAttributes, kRootKey, kBytes };

/// One parameter of a command row: its kind, its display name, and the position that the
/// named index it was made from gives it (a row lists its parameters at those positions).
struct ParamDef {
  ParamKind kind = ParamKind::kString;
  const char* display_name = nullptr;  ///< null past the row's last parameter
  size_t position = 0;
};

/// The named position of a parameter in its command's line, typed by the kind that the
/// command's action reads there. Calling it with a display name gives the row's entry.
template <ParamKind Kind>
struct ParamAt {
  size_t position;
  constexpr ParamDef operator()(const char* display_name) const {
    return {Kind, display_name, position};
  }
};
using StringAt = ParamAt<ParamKind::kString>;
using PathAt = ParamAt<ParamKind::kPath>;
using IntegerAt = ParamAt<ParamKind::kInteger>;
using AttributesAt = ParamAt<ParamKind::kAttributes>;
using RootKeyAt = ParamAt<ParamKind::kRootKey>;
using BytesAt = ParamAt<ParamKind::kBytes>;

class ParamSpec {
 public:
  explicit ParamSpec(std::string display_name) : display_name_(std::move(display_name)) {}
  virtual ~ParamSpec();
  ParamSpec(const ParamSpec&) = delete;
  ParamSpec& operator=(const ParamSpec&) = delete;

  /// Reads this parameter's token from `cursor` and returns the cursor after it. Raises QXErr
  /// kSyntaxError (or kEnumMismatch for an enum) on bad input.
  virtual ScriptCursor Parse(ScriptCursor cursor, const SectionReader& reader) = 0;

  const std::string& display_name() const { return display_name_; }

 private:
  std::string display_name_;
};

/// A text: plain (up to a blank or the line end) or in double quotes ("" stands for one).
class StringParam : public ParamSpec {
 public:
  using ParamSpec::ParamSpec;
  ScriptCursor Parse(ScriptCursor cursor, const SectionReader& reader) override;
  const std::string& text() const { return value_; }

 protected:
  std::string value_;
};

/// A text naming a file or folder; folder macros in it are expanded.
class PathParam : public StringParam {
 public:
  using StringParam::StringParam;
  ScriptCursor Parse(ScriptCursor cursor, const SectionReader& reader) override;
};

/// A 32-bit signed decimal number (never optional; wraps on overflow).
class IntegerParam : public ParamSpec {
 public:
  using ParamSpec::ParamSpec;
  ScriptCursor Parse(ScriptCursor cursor, const SectionReader& reader) override;
  int32_t value() const { return value_; }

 private:
  int32_t value_ = 0;
};

/// One of a fixed list of options, matched ignoring ASCII case; the value is its position.
class EnumParam : public ParamSpec {
 public:
  static constexpr int32_t kNone = -1;

  EnumParam(std::string display_name, std::vector<std::string> options)
      : ParamSpec(std::move(display_name)), options_(std::move(options)) {}
  /// On a token matching no option raises QXErr kEnumMismatch and keeps the earlier value.
  ScriptCursor Parse(ScriptCursor cursor, const SectionReader& reader) override;
  /// Position of the option last matched; kNone before the first match.
  int32_t value() const { return value_; }
  const std::vector<std::string>& options() const { return options_; }

 private:
  std::vector<std::string> options_;
  int32_t value_ = kNone;
};

/// The root key names in the order of their predefined handles (0x80000000 + position).
inline constexpr const char* kRootKeyNames[] = {"HKCR", "HKCU", "HKLM", "HKU",
                                                "HKPD", "HKCC", "HKDD"};

/// An EnumParam over "HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD", in that order: the
/// position of a name is the low part of its predefined key handle.
class RootKeyParam : public EnumParam {
 public:
  explicit RootKeyParam(std::string display_name);
  /// The predefined key handle 0x80000000 + position of the option read last.
  uint32_t RootHandle() const { return 0x80000000u + static_cast<uint32_t>(value()); }
};

/// File attribute letters A, H, R, S (others ignored); no letter means normal (0x80).
class AttributesParam : public ParamSpec {
 public:
  using ParamSpec::ParamSpec;
  ScriptCursor Parse(ScriptCursor cursor, const SectionReader& reader) override;
  uint32_t mask() const { return mask_; }

 private:
  uint32_t mask_ = 0x80;
};

/// Pairs of hexadecimal digits; an odd last digit is a byte of its own.
class BytesParam : public ParamSpec {
 public:
  using ParamSpec::ParamSpec;
  ScriptCursor Parse(ScriptCursor cursor, const SectionReader& reader) override;
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

/// Reads one basic token (plain or quoted) into `out`; the cursor it returns is past the
/// token (and past the blanks after a plain token). Raises kSyntaxError at the end of the
/// section or for a closing quote followed by anything but a blank or a line end.
ScriptCursor ReadToken(ScriptCursor cursor, const SectionReader& reader, std::string& out);

/// From the start of a token (quoted or plain) that ReadToken may have refused: past it, to
/// the next blank or the line end, so that it is not read again. Never raises.
ScriptCursor SkipToken(ScriptCursor cursor, const SectionReader& reader);

/// The ordered parameters of one command, built once and never changed.
class ParamList {
 public:
  ParamList() = default;
  ParamList(const ParamList&) = delete;
  ParamList& operator=(const ParamList&) = delete;
  ParamList(ParamList&&) = default;
  ParamList& operator=(ParamList&&) = default;

  void Add(std::unique_ptr<ParamSpec> param) { params_.push_back(std::move(param)); }
  /// How many parameters the command has, and the one at `index` (0 for the first): for
  /// readers of the parameters themselves, such as qxicheck's hints.
  size_t size() const { return params_.size(); }
  const ParamSpec& at(size_t index) const { return *params_.at(index); }

  /// Reads every parameter in order from `cursor`, numbering them 1, 2, ... in the reader's
  /// parameter number; returns the cursor after the last.
  ScriptCursor ReadAll(ScriptCursor cursor, SectionReader& reader);

  /// The values of the last line read, at a named position. Raise std::bad_cast when the
  /// parameter there is of another kind (a row that disagrees with its named positions).
  const std::string& operator[](StringAt at) const;
  const std::string& operator[](PathAt at) const;
  int32_t operator[](IntegerAt at) const;
  uint32_t operator[](AttributesAt at) const;
  /// The predefined key handle of the root named there (RootKeyParam::RootHandle).
  uint32_t operator[](RootKeyAt at) const;
  const std::vector<uint8_t>& operator[](BytesAt at) const;

 private:
  template <typename Kind, ParamKind Read>
  const Kind& As(ParamAt<Read> at) const;

  std::vector<std::unique_ptr<ParamSpec>> params_;
};

/// Parameters a command row can hold (CreateShortcut has the most).
constexpr size_t kMaxParams = 6;

/// How many parameters a row lists: the entries before the first without a display name.
inline size_t ParamCount(const ParamDef (&params)[kMaxParams]) {
  size_t count = 0;
  while (count < kMaxParams && params[count].display_name != nullptr) ++count;
  return count;
}

/// The parameter objects of the kinds and display names a row lists, in order.
ParamList ParamsOf(const ParamDef (&params)[kMaxParams]);

}  // namespace qxi
