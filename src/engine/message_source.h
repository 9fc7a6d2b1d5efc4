// The seam between the engine and the two sources of its message texts: its own string table
// and the system's texts for error codes. Windows reads the module's resources and asks
// FormatMessageA; the native build reads the same table from message_texts.h and has no
// system texts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qxi {

/// FormatMessageA flags of QXErr: allocate, from system, lines of at most 130 characters.
constexpr unsigned kMessageFlagsForErrors = 0x1182;

/// Copies string-table text `id` into `buffer` of `size` bytes (NUL-terminated, cut to fit).
/// Returns its length; 0 when the table has no text for `id`.
int LoadMessageText(int id, char* buffer, int size);

/// Copies the system's text for `error`, formatted with `flags`, into `buffer` of `size`
/// bytes (NUL-terminated, cut to fit). False when the system has no text for it.
bool LoadWin32ErrorText(uint32_t error, unsigned flags, char* buffer, size_t size);

/// The module whose string table LoadMessageText reads (Windows only; by default the program).
void SetMessageModule(void* module);

}  // namespace qxi
