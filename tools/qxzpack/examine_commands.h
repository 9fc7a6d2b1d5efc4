// qxzpack list, test and extract: reading an archive with the engine's reader and decoder.
#pragma once

#include <cstdio>
#include <string>

namespace qxzpack {

/// Prints one line per entry to out (size, packed size, ratio, CRC, attributes, time, priority,
/// name) and a total line. Throws EntryError for an entry the reader refuses.
void ListArchive(const std::string& archive, std::FILE* out);

/// Decodes every entry and checks its CRC, printing each failure to err and continuing with
/// the next entry; a header the reader refuses ends the test. Returns the number of failed
/// entries; throws EntryError for a refused header.
size_t TestArchive(const std::string& archive, bool verbose, std::FILE* out, std::FILE* err);

/// Extracts every entry below dir, as the engine would: the entry's directories are made, the
/// data is decoded and checked, and a file whose data fails the check is removed and ends the
/// extraction with EntryError. Each extracted file gets the entry's time and attributes.
void ExtractArchive(const std::string& archive, const std::string& dir, bool verbose);

/// "YYYY-MM-DD HH:MM:SS" (UTC) for a FILETIME.
std::string FileTimeText(uint64_t file_time);

}  // namespace qxzpack
