// Summary lines, one figure each, so that scripts can pick them out.
#include "run_summary.h"

namespace qxirun {

std::string FormatSummary(const RunCounts& counts, const WaitingOperations& waiting) {
  return "Sections run: " + std::to_string(counts.sections) + "\n" +
         "Lines run: " + std::to_string(counts.lines_run) + "\n" +
         "Lines skipped by a condition: " + std::to_string(counts.lines_skipped) + "\n" +
         "Errors logged: " + std::to_string(counts.errors) + "\n" +
         "Files written: " + std::to_string(counts.files_written) + "\n" +
         "Files left by priority: " + std::to_string(counts.files_left) + "\n" +
         "Files waiting for the restart: " + std::to_string(counts.files_deferred) + "\n" +
         "Bytes written: " + std::to_string(counts.bytes_written) + "\n" +
         "Deferred operations waiting in PendingFileRenameOperations: " +
         std::to_string(waiting.file_renames) + "\n" +
         "Deferred operations waiting in WININIT.INI [Rename]: " +
         std::to_string(waiting.wininit) + "\n";
}

}  // namespace qxirun
