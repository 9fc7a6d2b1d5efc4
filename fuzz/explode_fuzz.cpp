// Feeds arbitrary bytes to Explode. The first byte picks how many bytes each read delivers and
// how the work area is aligned; the sanitizers catch any access outside the decoder's buffers,
// and the checks below catch a broken call contract.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "archive/implode/explode_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const unsigned control = data[0];
  const unsigned chunk = (control & 0x80) ? 2048 : (control & 0x7F) + 1;
  const unsigned misalign = control & 7;
  const std::vector<uint8_t> stream(data + 1, data + size);
  const qxi::testing_support::ExplodeRun run =
      qxi::testing_support::RunExplode(stream, chunk, misalign, chunk < 5 ? 5 : chunk);
  if (run.result > 4) std::abort();
  if (run.result >= 1 && run.result <= 3 && !run.writes.empty()) std::abort();
  if (run.result == 0 || run.result == 4) {
    // Full blocks, then exactly one short (possibly empty) last write.
    if (run.writes.empty() || run.writes.back() >= 4096) std::abort();
    for (size_t i = 0; i + 1 < run.writes.size(); ++i) {
      if (run.writes[i] != 4096) std::abort();
    }
  }
  for (const auto& read : run.reads) {
    if (read.asked != 2048) std::abort();
  }
  return 0;
}
