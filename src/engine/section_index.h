// SectionIndex: the section headers of one mapped script, read once and kept by name, so that
// looking up every section of a long script costs one pass over it rather than one per lookup.
#pragma once

#include <map>
#include <string_view>
#include <vector>

#include "engine/text_compare.h"

namespace qxi {

class SectionIndex {
 public:
  /// Indexes the text [begin, end), which must outlive the index; both null for no text.
  /// Nothing is read until the first lookup.
  SectionIndex(const char* begin, const char* end);

  /// The first character of the text that is not a blank (null for no text).
  const char* start() const { return start_; }

  /// A header line: the text between its brackets, its '[', and the body after it.
  struct Header {
    std::string_view name;
    const char* bracket;
    const char* body;
  };
  /// Every header line of the text, in file order, later ones of a name included (Find
  /// finds only the first of a name). Reads the whole text; leaves the index as it was.
  std::vector<Header> All() const;

  /// The body of the first header named `name` (ASCII case ignored): the first character of
  /// the next non-empty line after it. Null when the text has no such header. Reads the text
  /// only as far as it has to, and each part of it once over all lookups. May raise on
  /// allocation failure; the index then stays as it was.
  const char* Find(std::string_view name);

 private:
  // Reads the header, if any, on the line at scan_ into headers_ and moves scan_ to the next
  // non-empty line. Returns the name read (null data when the line is no header).
  std::string_view ScanLine();

  const char* start_;
  const char* end_;
  const char* scan_;  // start of the first line not yet read, past its blanks
  std::map<std::string_view, const char*, NameLessOp> headers_;  // name -> first body
};

}  // namespace qxi
