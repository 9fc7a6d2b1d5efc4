#include "system/com_for_run.h"

#include <optional>

#include "engine/run_end.h"
#include "system/com_ptr.h"

namespace qxi {
namespace {

// Initialised in this order and undone in the reverse one.
std::optional<OleInitialization> g_ole;
std::optional<CoInitialization> g_com;

void EndComForRun() {
  g_com.reset();
  g_ole.reset();
}

}  // namespace

HRESULT ComForRun() {
  if (!g_com) {
    g_ole.emplace();
    g_com.emplace();
    CallWhenRunEnds(EndComForRun);
  }
  return g_com->result();
}

}  // namespace qxi
