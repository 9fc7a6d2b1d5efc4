#include "engine/include_command.h"

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

void IncludeScript(const ParamList& params) {
  IncludeDepthGuard depth;
  ScriptFile script(params.Text(0).c_str());
  script.RunSection(params.Text(1));
}

}  // namespace qxi
