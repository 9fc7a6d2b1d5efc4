// A script made from the command table itself, for the differential test: every command and
// condition test of the table with each of its parameters in turn written wrong in every way a
// token can be (a closing quote followed by a character, bad folder macros, bad numbers, bad
// byte data, a name of no list, nothing at all), the others written right.
#pragma once

#include <string>

namespace qxi_differential {

/// The script: master section Main runs one section per group with that group's lines; the
/// Conditions section holds the condition tests' lines.
std::string TableLinesScript();

}  // namespace qxi_differential
