#include "engine/run_end.h"

#include <cstddef>

namespace qxi {
namespace {

// Few things are kept for a run's end: a fixed list is enough and never allocates.
constexpr size_t kMaxRunEndFunctions = 8;

RunEndFunction g_functions[kMaxRunEndFunctions];
size_t g_count = 0;
int g_depth = 0;

}  // namespace

void CallWhenRunEnds(RunEndFunction end) {
  for (size_t i = 0; i < g_count; ++i) {
    if (g_functions[i] == end) return;
  }
  if (g_count < kMaxRunEndFunctions) g_functions[g_count++] = end;
}

RunEndScope::RunEndScope() noexcept { ++g_depth; }

RunEndScope::~RunEndScope() {
  if (--g_depth > 0) return;
  while (g_count > 0) g_functions[--g_count]();
}

}  // namespace qxi
