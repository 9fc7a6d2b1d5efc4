// The texts of the progress display: text bars and the section and file lines, built from a
// ProgressTracker. Plain text without control characters, so any display can show it.
#pragma once

#include <string>

#include "progress_tracker.h"

namespace qxirun {

/// "[####......]" with `width` cells between the brackets, filled in proportion to
/// done/total (clamped to the ends); all empty when total is not positive.
std::string TextBar(long long done, long long total, int width);

/// The line that announces a section in plain output: "== TEXT (NUMBER)".
std::string SectionStartLine(const ProgressTracker& progress);
/// The line that announces a file in plain output: "   NAME (SIZE bytes)".
std::string FileStartLine(const ProgressTracker& progress);
/// The same line with the file's outcome after it: nothing for a file written,
/// " left by priority" or " waiting for the restart".
std::string FileEndLine(const ProgressTracker& progress);

/// The section's live line: "TEXT [bar] NN%" ("TEXT [bar] DONE" when the total is not
/// positive).
std::string SectionBarLine(const ProgressTracker& progress);
/// The file's live line: "   NAME [bar] NN% of SIZE bytes"; empty when no file was announced.
std::string FileBarLine(const ProgressTracker& progress);

}  // namespace qxirun
