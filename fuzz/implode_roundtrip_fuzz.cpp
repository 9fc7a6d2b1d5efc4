// Encodes arbitrary data at the setting and effort the first byte picks and decodes it again:
// the output must equal the input, with result 0, every time.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "archive/implode/explode.h"
#include "archive/implode/explode_harness.h"
#include "archive/implode/implode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const unsigned kDictionaries[] = {1024, 2048, 4096};
  qxi::ImplodeOptions options;
  options.literals = (data[0] & 1) ? qxi::ImplodeLiterals::kCoded : qxi::ImplodeLiterals::kBinary;
  options.dictionary_size = kDictionaries[((data[0] >> 1) & 3) % 3];
  options.effort = (data[0] & 8) ? qxi::ImplodeEffort::kBest : qxi::ImplodeEffort::kNormal;
  const std::vector<uint8_t> input(data + 1, data + size);
  std::vector<uint8_t> packed;
  qxi::Implode(input.data(), input.size(), options, &packed);
  if (packed.size() < 5) std::abort();
  const qxi::testing_support::ExplodeRun run = qxi::testing_support::RunExplode(packed);
  if (run.result != qxi::kExplodeOk || run.output != input) std::abort();
  return 0;
}
