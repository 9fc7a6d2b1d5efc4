// Explode: the decoder of the implode format, driven by the caller's read and write functions
// through a fixed-size work area. It knows nothing of files or archives.
#pragma once

#include <cstdint>

namespace qxi {

/// Fills up to *size bytes (always 2048) of buffer with compressed input; returns the number
/// of bytes placed, 0 when the input is exhausted. May throw; the exception leaves Explode.
using ExplodeReadFunction = unsigned (*)(char* buffer, unsigned* size, void* param);

/// Takes the *size bytes of decompressed output at buffer (4096, or 0 to 4095 on the last
/// call). May throw; the exception leaves Explode.
using ExplodeWriteFunction = void (*)(char* buffer, unsigned* size, void* param);

/// Size of the work area the caller lends to each Explode call.
constexpr unsigned kExplodeWorkAreaSize = 12596;

/// Explode's results.
enum ExplodeResult : unsigned {
  kExplodeOk = 0,                ///< end-of-data code reached, all output written
  kExplodeBadDictionary = 1,     ///< dictionary-size byte is not 4, 5 or 6
  kExplodeBadLiteralMode = 2,    ///< literal-mode byte is not 0 or 1
  kExplodeInputTooShort = 3,     ///< the first read gave 4 bytes or fewer; nothing written
  kExplodeTruncated = 4,         ///< input ended before the end code; output so far written
};

/// Decodes one implode stream from read to write, keeping all its state in work_area
/// (kExplodeWorkAreaSize bytes, any alignment, contents ignored and left undefined); param is
/// passed to both functions. Returns an ExplodeResult.
unsigned Explode(ExplodeReadFunction read, ExplodeWriteFunction write, char* work_area,
                 void* param);

}  // namespace qxi
