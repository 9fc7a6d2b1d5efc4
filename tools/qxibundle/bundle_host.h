// What qxibundle asks of the system it runs on: its own folder (where the kit is by
// default), and its arguments as UTF-8 (the bundle's texts are UTF-8 wherever it was made).
#pragma once

#include <string>

namespace qxibundle {

/// The folder of the running program; empty when the system does not say.
std::string OwnFolder();

/// An argument as UTF-8: unchanged on Linux, converted from the ANSI code page on Windows.
std::string ArgumentToUtf8(const std::string& argument);

}  // namespace qxibundle
