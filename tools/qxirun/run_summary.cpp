// Summary lines, one figure each, so that scripts can pick them out.
#include "run_summary.h"

namespace qxirun {

std::string FormatSummary(const RunCounts& counts, const WaitingOperations& waiting) {
  return "Sections run: " + std::to_string(counts.sections) + "\n" +
         "Lines run: " + std::to_string(counts.lines) + "\n" +
         "Errors logged: " + std::to_string(counts.errors) + "\n" +
         "Bytes copied: " + std::to_string(counts.bytes_copied) + "\n" +
         "Deferred operations waiting in PendingFileRenameOperations: " +
         std::to_string(waiting.file_renames) + "\n" +
         "Deferred operations waiting in WININIT.INI [Rename]: " +
         std::to_string(waiting.wininit) + "\n";
}

}  // namespace qxirun
