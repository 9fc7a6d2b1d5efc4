#include "engine/walk_mode.h"

#include "engine/command.h"
#include "engine/folder_macros.h"
#include "engine/host_callbacks.h"
#include "engine/qx_err.h"

namespace qxi {
namespace {

WalkMode& RunMode() {
  static WalkMode run;
  return run;
}

WalkMode* g_mode = nullptr;

}  // namespace

WalkMode::~WalkMode() = default;

void WalkMode::SectionEntered(const SectionReader&) {}

bool WalkMode::LineRuns(const std::string& name, bool negate, const ConditionMap& conditions,
                        const SectionReader&) {
  auto found = conditions.find(name);
  if (found == conditions.end()) throw QXErr(kUndefinedCondition);
  return found->second != negate;
}

std::string WalkMode::Folder(size_t position) { return ResolveFolder(position); }

void WalkMode::Execute(Command& command, const SectionReader&, ScriptCursor) {
  command.Execute();
}

void WalkMode::Report(const char* message, const SectionReader*) { SendLog(message); }

WalkMode& CurrentWalkMode() { return g_mode != nullptr ? *g_mode : RunMode(); }

ScopedWalkMode::ScopedWalkMode(WalkMode& mode) : saved_(g_mode) { g_mode = &mode; }

ScopedWalkMode::~ScopedWalkMode() { g_mode = saved_; }

}  // namespace qxi
