#include "engine/engine_commands.h"

#include "engine/master_runner.h"
#include "engine/qx_err.h"
#include "engine/script_file.h"

namespace qxi {
namespace {

int g_include_depth = 0;

}  // namespace

IncludeDepthGuard::IncludeDepthGuard() {
  if (g_include_depth >= kMaxIncludeDepth) throw QXErr(kRunTimeError, kErrorStackOverflow);
  ++g_include_depth;
}

IncludeDepthGuard::~IncludeDepthGuard() { --g_include_depth; }

namespace engine_commands {

void DoNothing(const ParamList&) {}

void IncludeScript(const ParamList& params) {
  IncludeDepthGuard depth;
  ScriptFile script(params[kScript].c_str());
  RunSection(script, params[kMasterSection]);
}

}  // namespace engine_commands
}  // namespace qxi
