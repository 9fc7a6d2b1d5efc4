#include "engine/journal.h"

#include "engine/host_callbacks.h"
#include "engine/journal_text.h"

namespace qxi {
namespace {

void Send(const std::vector<std::string_view>& fields) {
  if (!Journaling()) return;
  const std::string line = JournalLine(fields);
  Callbacks().journal(line.c_str());
}

}  // namespace

bool Journaling() { return JournalRegistered(); }

void Journal(std::initializer_list<std::string_view> fields) {
  Send(std::vector<std::string_view>(fields));
}

void Journal(const std::vector<std::string>& fields) {
  Send(std::vector<std::string_view>(fields.begin(), fields.end()));
}

const char* BeforeState(bool was_there) { return was_there ? kBeforePresent : kBeforeAbsent; }

}  // namespace qxi
