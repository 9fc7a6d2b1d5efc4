// Parameter kinds: each reads its own token of a script line from the cursor and keeps the
// value of the last line read. ParamList is the ordered parameters of one command.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/script_cursor.h"
#include "engine/section_reader.h"

namespace qxi {

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

/// The ordered parameters of one command, built once and never changed.
class ParamList {
 public:
  ParamList() = default;
  ParamList(const ParamList&) = delete;
  ParamList& operator=(const ParamList&) = delete;
  ParamList(ParamList&&) = default;
  ParamList& operator=(ParamList&&) = default;

  void Add(std::unique_ptr<ParamSpec> param) { params_.push_back(std::move(param)); }
  void Insert(size_t index, std::unique_ptr<ParamSpec> param) {
    params_.insert(params_.begin() + static_cast<std::ptrdiff_t>(index), std::move(param));
  }
  size_t size() const { return params_.size(); }
  const ParamSpec& at(size_t index) const { return *params_.at(index); }

  /// Reads every parameter in order from `cursor`, numbering them 1, 2, ... in the reader's
  /// parameter number; returns the cursor after the last.
  ScriptCursor ReadAll(ScriptCursor cursor, SectionReader& reader);

  /// Typed values of the last line read, by position (0 for the first parameter). Raise
  /// std::bad_cast when the parameter at `index` is of another kind.
  const std::string& Text(size_t index) const;
  int32_t Integer(size_t index) const;
  int32_t Enum(size_t index) const;
  uint32_t Attributes(size_t index) const;
  const std::vector<uint8_t>& Bytes(size_t index) const;

 private:
  template <typename Kind>
  const Kind& As(size_t index) const;

  std::vector<std::unique_ptr<ParamSpec>> params_;
};

}  // namespace qxi
