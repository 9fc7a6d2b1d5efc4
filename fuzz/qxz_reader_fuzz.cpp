// Fuzz target: walks arbitrary bytes as a QXZ archive, entry by entry, decoding each one.
// Every entry must move the walk forward, every accepted name must be safe, and the decoder
// must stay inside the entry's data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "archive/byte_source.h"
#include "archive/ncompress_except.h"
#include "archive/qxz_entry_decoder.h"
#include "archive/qxz_entry_name.h"
#include "archive/qxz_reader.h"
#include "archive/qxz_test_support.h"

namespace {

// Keeps only the count, so that long outputs cost no memory.
class CountingOutput : public qxi::QxzOutput {
 public:
  void Write(const char*, size_t size) override { total += size; }
  uint64_t total = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qxi::testing_support::WatchedSource source(data, size);
  try {
    while (source.Tell() < source.Size()) {
      const uint64_t start = source.Tell();
      const qxi::QxzEntry entry = qxi::ReadQxzEntry(source);
      if (entry.next_offset() <= start || entry.next_offset() > size) std::abort();
      if (!qxi::IsSafeEntryName(entry.info.name)) std::abort();
      CountingOutput output;
      qxi::DecodeQxzEntry(source, entry, output);
      if (source.furthest > entry.next_offset()) std::abort();
      if (source.Tell() != entry.next_offset()) std::abort();
    }
  } catch (const qxi::NCompress::Except&) {
    // A damaged archive ends the walk, as it ends an extraction.
  }
  return 0;
}
