// Texts between Windows code pages: the bundle's texts are UTF-8, the engine and the "A"
// functions take the ANSI code page, the registry's wide functions UTF-16. Windows only.
#pragma once

#include <string>

namespace qxibundle {

/// `text`, written in code page `from` (CP_ACP, CP_UTF8...), as UTF-16. (Not std::wstring:
/// its instantiation in the runtime would weigh on the stub.)
std::u16string ToUtf16(const std::string& text, unsigned from);

/// `text`, written in code page `from`, in code page `to`. A character `to` lacks becomes
/// the code page's default character.
std::string Recode(const std::string& text, unsigned from, unsigned to);

}  // namespace qxibundle
