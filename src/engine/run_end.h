// What a run starts on first need and keeps until ProcessQXS returns: the first shortcut of a
// run initialises COM, and it stays initialised for the run's other shortcuts.
#pragma once

namespace qxi {

using RunEndFunction = void (*)();

/// Has `end` called when the running ProcessQXS returns (outside a run: when the next run
/// ends). Registering a function again before it was called registers it once.
void CallWhenRunEnds(RunEndFunction end);

/// Marks one run for its lifetime. The outermost one calls the functions registered since it
/// began, the last registered first, when it is destroyed.
class RunEndScope {
 public:
  RunEndScope() noexcept;
  ~RunEndScope();
  RunEndScope(const RunEndScope&) = delete;
  RunEndScope& operator=(const RunEndScope&) = delete;
};

}  // namespace qxi
