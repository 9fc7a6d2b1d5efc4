#include "archive_check.h"

#include <exception>

#include "archive/qxz_entry_decoder.h"
#include "archive_file.h"
#include "archive_walk.h"

namespace qxicheck {
namespace {

// Decoded output that is only checked, not kept.
class Discard : public qxi::QxzOutput {
 public:
  void Write(const char*, size_t) override {}
};

}  // namespace

std::string CheckArchiveFile(const std::string& path, bool deep) {
  try {
    qxzpack::ArchiveFileSource source(path);
    std::string fault;
    qxzpack::WalkArchive(source, path, [&](size_t index, const qxi::QxzEntry& entry) {
      if (!deep || !fault.empty()) return;
      Discard output;
      const qxi::QxzDecodeResult result = qxi::DecodeQxzEntry(source, entry, output);
      if (!result.Matches(entry)) {
        fault = qxzpack::EntryError(path, index, entry.info.name, entry.offset,
                                    qxzpack::DecodeFailureText(result.explode_result,
                                                               entry.info.crc, result.crc))
                    .what();
      }
    });
    return fault;
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace qxicheck
