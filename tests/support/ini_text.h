// Test support: an INI file's text as it lies on disk, read without the profile functions,
// so that tests see what was really written.
#pragma once

#include <string>
#include <vector>

namespace qxi_test {

/// The non-empty lines of the file at `path`, without their line ends; empty when the file
/// cannot be read.
std::vector<std::string> FileLines(const std::string& path);

/// True when `lines` hold the header of `section` (compared ignoring ASCII case).
bool HasSection(const std::vector<std::string>& lines, const std::string& section);

/// The lines of `section` in `lines`: those after its header up to the next header.
std::vector<std::string> SectionLines(const std::vector<std::string>& lines,
                                      const std::string& section);

/// Lines of exactly `total` bytes as a section list counts them (each line and its NUL),
/// named key00000, key00001, ...: full lines of 100 bytes, the last one shorter.
std::vector<std::string> LinesOfSize(size_t total);

/// The text of an INI section with a header and `lines`, CR LF after each line.
std::string SectionText(const std::string& section, const std::vector<std::string>& lines);

}  // namespace qxi_test
