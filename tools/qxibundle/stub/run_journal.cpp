#include "run_journal.h"

#include "engine/journal_text.h"

namespace qxistub {
namespace {

// The collector's text while it is registered: the engine's callback has no context of its
// own, and a setup runs one script at a time.
std::string* g_text = nullptr;

void QXI_CALL OnJournal(const char* record) {
  *g_text += record;
  *g_text += "\r\n";
}

}  // namespace

RunJournal::RunJournal(const qxirun::EngineLibrary& engine, const std::string& script,
                       const std::string& section)
    : engine_(engine), text_(qxi::JournalLine({"Run", script, section}) + "\r\n") {
  g_text = &text_;
  engine_.register_journal(OnJournal);
  registered_ = true;
}

RunJournal::~RunJournal() { Stop(); }

void RunJournal::Stop() {
  if (!registered_) return;
  engine_.register_journal(nullptr);
  g_text = nullptr;
  registered_ = false;
}

}  // namespace qxistub
