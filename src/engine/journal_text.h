// The journal's text form: a record is one line of fields separated by tabs, its kind first.
// A field is escaped so that it holds no tab and no line break: a backslash is written \\, a
// tab \t, a line feed \n, a carriage return \r; every other byte stands as it is. Byte data
// is written as hexadecimal digit pairs. The kinds and the registry type names are here too:
// the engine writes them, and the uninstall script's maker reads them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qxi {

namespace journal_kind {
inline constexpr char kFileWrite[] = "FileWrite";
inline constexpr char kFileDelete[] = "FileDelete";
inline constexpr char kFileMove[] = "FileMove";
inline constexpr char kFolderMake[] = "FolderMake";
inline constexpr char kFolderRemove[] = "FolderRemove";
inline constexpr char kFolderAttributes[] = "FolderAttributes";
inline constexpr char kRestartReplace[] = "RestartReplace";
inline constexpr char kRestartMove[] = "RestartMove";
inline constexpr char kRestartDelete[] = "RestartDelete";
inline constexpr char kPrioritySet[] = "PrioritySet";
inline constexpr char kKeyMake[] = "KeyMake";
inline constexpr char kKeyDelete[] = "KeyDelete";
inline constexpr char kValueSet[] = "ValueSet";
inline constexpr char kValueDelete[] = "ValueDelete";
inline constexpr char kIniFileMake[] = "IniFileMake";
inline constexpr char kIniSectionMake[] = "IniSectionMake";
inline constexpr char kIniSectionDelete[] = "IniSectionDelete";
inline constexpr char kIniKeySet[] = "IniKeySet";
inline constexpr char kIniKeyDelete[] = "IniKeyDelete";
inline constexpr char kIniLineAdd[] = "IniLineAdd";
inline constexpr char kIniLineRemove[] = "IniLineRemove";
inline constexpr char kRunApp[] = "RunApp";
inline constexpr char kExitWindows[] = "ExitWindows";
}  // namespace journal_kind

/// Whether a file, folder or INI key was there before a change.
inline constexpr char kBeforeAbsent[] = "absent";
inline constexpr char kBeforePresent[] = "present";

/// The type field of a registry value: a value of the first four types whose data has the
/// usual form is written readably (REG_SZ and REG_EXPAND_SZ as their text without the
/// terminating NUL, REG_DWORD as an unsigned decimal number, REG_BINARY in hexadecimal);
/// any other value as "hex(N)", N its type number, with its bytes in hexadecimal. A value
/// that did not exist has the type "absent" and empty data.
inline constexpr char kTypeSz[] = "REG_SZ";
inline constexpr char kTypeExpandSz[] = "REG_EXPAND_SZ";
inline constexpr char kTypeDword[] = "REG_DWORD";
inline constexpr char kTypeBinary[] = "REG_BINARY";

/// `field` with backslash, tab, line feed and carriage return escaped.
std::string EscapeJournalField(std::string_view field);

/// The record's line: the escaped fields joined by tabs, without a line end.
std::string JournalLine(const std::vector<std::string_view>& fields);

/// Splits `line` (without its line end) at its tabs and undoes the escapes. False for a
/// backslash that begins no escape; `fields` then holds nothing.
bool ParseJournalLine(std::string_view line, std::vector<std::string>& fields);

/// The bytes as upper-case hexadecimal digit pairs, without separators.
std::string HexBytes(std::string_view bytes);

/// A registry value's type and data fields (see kTypeSz) for `type` and its raw `bytes`.
void RegistryValueFields(uint32_t type, std::string_view bytes, std::string& type_field,
                         std::string& data_field);

}  // namespace qxi
