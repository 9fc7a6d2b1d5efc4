#include "engine/failure_report.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "engine/walk_mode.h"

namespace qxi {

FailureText::FailureText(const std::exception& e) noexcept
    : text_(dynamic_cast<const std::bad_alloc*>(&e) != nullptr ? out_of_memory_.what()
                                                                : e.what()) {
  if (text_ == nullptr) text_ = "";
}

LogLine& LogLine::operator<<(std::string_view text) {
  size_t room = kCapacity - 1 - length_;
  size_t n = text.size() < room ? text.size() : room;
  std::memcpy(text_ + length_, text.data(), n);
  length_ += n;
  text_[length_] = '\0';
  return *this;
}

LogLine& LogLine::operator<<(int32_t number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(number));
  return *this << std::string_view(digits);
}

void LogLine::Send() const { CurrentWalkMode().Report(text_, nullptr); }

void LogLine::Send(const SectionReader& where) const { CurrentWalkMode().Report(text_, &where); }

}  // namespace qxi
