// UTF-8 texts of a bundle as the UTF-16 that the version record and the registry's wide
// functions take; system-free, so that qxibundle checks its options with it everywhere.
#pragma once

#include <string>

namespace qxibundle {

/// The UTF-16 code units of UTF-8 `text`. Throws BundleError naming `what` for bytes that
/// are not UTF-8.
std::u16string Utf8ToUtf16(const std::string& text, const char* what);

}  // namespace qxibundle
