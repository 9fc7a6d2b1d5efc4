// A second decoder of the implode format, for the benchmarks only: the straightforward
// table-driven design (byte-wise bit buffer, 8-bit first-level tables, second-level tables for
// long literal codes), measured beside the engine's Explode on the same streams.
#pragma once

#include "archive/implode/explode.h"

namespace qxi {
namespace bench {

/// Size of the work area ReferenceExplode needs.
constexpr unsigned kReferenceWorkAreaSize = 16384;

/// Decodes one implode stream with the same read/write contract and result codes as
/// qxi::Explode; work_area holds kReferenceWorkAreaSize bytes, aligned for an unsigned.
unsigned ReferenceExplode(ExplodeReadFunction read, ExplodeWriteFunction write,
                          char* work_area, void* param);

}  // namespace bench
}  // namespace qxi
