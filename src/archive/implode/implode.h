// The implode encoder: turns bytes into a stream that Explode (and any decoder of the format)
// reads back. Used by the archive builder; the engine itself only decodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qxi {

/// How literal bytes are sent.
enum class ImplodeLiterals : uint8_t {
  kBinary = 0,  ///< 8 plain bits each: best for binary data
  kCoded = 1,   ///< the format's fixed literal code, short for text
};

/// How hard the encoder searches. Both give the cheapest items for the matches they find;
/// kBest looks at far more of them, for 1 to 3% smaller output at a third of the speed.
enum class ImplodeEffort : uint8_t {
  kNormal = 0,
  kBest = 1,
};

/// Encoder settings.
struct ImplodeOptions {
  ImplodeLiterals literals = ImplodeLiterals::kBinary;
  unsigned dictionary_size = 4096;  ///< 1024, 2048 or 4096
  ImplodeEffort effort = ImplodeEffort::kNormal;
};

/// Appends to *out the complete stream for data[0, size): header, items, end code. The same
/// input and options always give the same bytes; the stream is at least 5 bytes long. Throws
/// std::invalid_argument for a dictionary size other than 1024, 2048 or 4096, and
/// std::length_error for inputs of 4 GiB or more.
void Implode(const uint8_t* data, size_t size, const ImplodeOptions& options,
             std::vector<uint8_t>* out);

}  // namespace qxi
