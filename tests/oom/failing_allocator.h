// A replacement of the global allocation functions that can fail the Nth allocation, and
// counts allocations and frees so that a test can see what a run leaves behind.
#pragma once

#include <cstddef>

namespace qxi_test {

struct AllocationCounters {
  long long allocations = 0;  // successful allocations while counting
  long long frees = 0;        // frees of non-null pointers while counting
  bool failed = false;        // the armed allocation was refused
};

/// Starts counting; the `fail_at`-th allocation from now (1-based) throws std::bad_alloc.
/// Zero means none fails.
void ArmAllocations(long long fail_at);
/// Stops counting and failing; returns what was counted since ArmAllocations.
AllocationCounters DisarmAllocations();

/// While it lives, allocations are neither counted nor failed (for the test's own callbacks,
/// which record what they see in storage that outlives the run).
class UncountedScope {
 public:
  UncountedScope();
  ~UncountedScope();
  UncountedScope(const UncountedScope&) = delete;
  UncountedScope& operator=(const UncountedScope&) = delete;

 private:
  bool was_counting_;
};

}  // namespace qxi_test
