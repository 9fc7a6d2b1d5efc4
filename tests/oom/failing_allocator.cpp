#include "oom/failing_allocator.h"

#include <cstdlib>
#include <new>

namespace qxi_test {
namespace {

// Plain globals: the engine starts no threads, and the test runs on one.
bool g_counting = false;
long long g_remaining = 0;  // allocations left before the failing one; 0 means none fails
AllocationCounters g_counters;

void* Allocate(std::size_t size) {
  if (g_counting && g_remaining > 0 && --g_remaining == 0) {
    g_counters.failed = true;
    throw std::bad_alloc();
  }
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  if (g_counting) ++g_counters.allocations;
  return p;
}

void Free(void* p) noexcept {
  if (p == nullptr) return;
  if (g_counting) ++g_counters.frees;
  std::free(p);
}

}  // namespace

void ArmAllocations(long long fail_at) {
  g_counters = AllocationCounters();
  g_remaining = fail_at;
  g_counting = true;
}

AllocationCounters DisarmAllocations() {
  g_counting = false;
  g_remaining = 0;
  return g_counters;
}

UncountedScope::UncountedScope() : was_counting_(g_counting) { g_counting = false; }
UncountedScope::~UncountedScope() { g_counting = was_counting_; }

}  // namespace qxi_test

void* operator new(std::size_t size) { return qxi_test::Allocate(size); }
void* operator new[](std::size_t size) { return qxi_test::Allocate(size); }
void operator delete(void* p) noexcept { qxi_test::Free(p); }
void operator delete[](void* p) noexcept { qxi_test::Free(p); }
void operator delete(void* p, std::size_t) noexcept { qxi_test::Free(p); }
void operator delete[](void* p, std::size_t) noexcept { qxi_test::Free(p); }
