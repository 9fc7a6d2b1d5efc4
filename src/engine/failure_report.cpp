#include "engine/failure_report.h"

#include <new>

#include "engine/walk_mode.h"

namespace qxi {

FailureText::FailureText(const std::exception& e) noexcept
    : text_(dynamic_cast<const std::bad_alloc*>(&e) != nullptr ? out_of_memory_.what()
                                                                : e.what()) {
  if (text_ == nullptr) text_ = "";
}

void LogLine::Send() const { CurrentWalkMode().Report(text_, nullptr); }

void LogLine::Send(const SectionReader& where) const { CurrentWalkMode().Report(text_, &where); }

}  // namespace qxi
