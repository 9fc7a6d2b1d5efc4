#include "findings.h"

#include <algorithm>

namespace qxicheck {

void FindingList::NotePath(const std::string& path) {
  path_order_.emplace(path, static_cast<int>(path_order_.size()));
}

void FindingList::Add(Finding finding) {
  if (finding.engine) {
    const EngineMessage& message = *finding.engine;
    auto key = std::make_pair(message.context, message.message);
    auto found = engine_index_.find(key);
    if (found == engine_index_.end()) {
      engine_index_.emplace(key, engine_.size());
      engine_.push_back(message);
    } else if (message.reach < engine_[found->second].reach) {
      engine_[found->second].reach = message.reach;  // kAlways is the most certain
    }
  }
  if (finding.severity == Severity::kNone) return;
  auto key = std::make_tuple(static_cast<int>(finding.severity), finding.path, finding.line,
                             finding.text);
  if (!seen_.insert(key).second) return;
  NotePath(finding.path);
  (finding.severity == Severity::kError ? errors_ : warnings_)++;
  findings_.push_back(std::move(finding));
}

std::vector<Finding> FindingList::Shown() const {
  std::vector<Finding> shown = findings_;
  std::stable_sort(shown.begin(), shown.end(), [this](const Finding& a, const Finding& b) {
    const int file_a = path_order_.at(a.path);
    const int file_b = path_order_.at(b.path);
    return file_a != file_b ? file_a < file_b : a.line < b.line;
  });
  return shown;
}

std::vector<EngineMessage> FindingList::EngineMessages() const { return engine_; }

}  // namespace qxicheck
