// The few thread primitives the statically linked C++ runtime calls, as QXI.dll provides them:
// once-only initialisation, mutexes, a condition for the guard of local statics, and
// thread-specific values for the exception state. The toolchain's threads library brings
// these with a whole threading implementation the engine never uses (about an eighth of the
// DLL); these cover exactly the calls that the runtime's exception support, unwinder and
// static-local guards make, with the library's own types and initialiser values.
#include <windows.h>

#include <cerrno>
#include <cstdint>

namespace {

// The library's types and static initialisers, as its header defines them.
using OnceFlag = long;      // 0 until the function has run
using MutexSlot = intptr_t;  // an initialiser below, or the mutex made for it
using ConditionSlot = intptr_t;  // kConditionInitialiser, or a CONDITION_VARIABLE
using KeySlot = unsigned;

constexpr intptr_t kFirstMutexInitialiser = -3;  // recursive, error-checking, normal: -3..-1
constexpr intptr_t kConditionInitialiser = -1;

// Once states: not run, running, done.
constexpr long kOnceNotRun = 0, kOnceRunning = 1, kOnceDone = 2;

bool IsMutexInitialiser(intptr_t value) {
  return value >= kFirstMutexInitialiser && value < 0;
}

// The critical section behind a mutex slot, made on first use of a statically initialised
// one. Critical sections are recursive, which also serves the recursive kind; the others are
// never locked twice by a correct caller. Null when no memory is left.
CRITICAL_SECTION* SectionOf(MutexSlot* slot) {
  const intptr_t value = *static_cast<volatile MutexSlot*>(slot);
  if (!IsMutexInitialiser(value)) return reinterpret_cast<CRITICAL_SECTION*>(value);
  auto* section = static_cast<CRITICAL_SECTION*>(
      HeapAlloc(GetProcessHeap(), 0, sizeof(CRITICAL_SECTION)));
  if (section == nullptr) return nullptr;
  InitializeCriticalSection(section);
  void* before = InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(slot),
                                                   section, reinterpret_cast<void*>(value));
  if (before == reinterpret_cast<void*>(value)) return section;
  // Another thread made one first: use that.
  DeleteCriticalSection(section);
  HeapFree(GetProcessHeap(), 0, section);
  return static_cast<CRITICAL_SECTION*>(before);
}

// The condition variable held in a slot: an all-zero CONDITION_VARIABLE is a new one, so the
// static initialiser is replaced by zero on first use.
CONDITION_VARIABLE* ConditionOf(ConditionSlot* slot) {
  InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(slot), nullptr,
                                    reinterpret_cast<void*>(kConditionInitialiser));
  return reinterpret_cast<CONDITION_VARIABLE*>(slot);
}

}  // namespace

// The mingw runtime's list of destructors run for a module's thread-local values when a
// thread leaves it (the C runtime's TLS callback runs them).
extern "C" int __mingwthr_key_dtor(DWORD key, void (*destructor)(void*));

extern "C" {

int pthread_once(OnceFlag* flag, void (*function)(void)) {
  auto* state = reinterpret_cast<volatile LONG*>(flag);
  if (InterlockedCompareExchange(state, kOnceDone, kOnceDone) == kOnceDone) return 0;
  if (InterlockedCompareExchange(state, kOnceRunning, kOnceNotRun) == kOnceNotRun) {
    function();
    InterlockedExchange(state, kOnceDone);
    return 0;
  }
  while (InterlockedCompareExchange(state, kOnceDone, kOnceDone) != kOnceDone) Sleep(0);
  return 0;
}

int pthread_mutex_init(MutexSlot* slot, const unsigned* /*attributes*/) {
  *slot = kFirstMutexInitialiser;
  return SectionOf(slot) != nullptr ? 0 : ENOMEM;
}

int pthread_mutex_destroy(MutexSlot* slot) {
  if (!IsMutexInitialiser(*slot)) {
    auto* section = reinterpret_cast<CRITICAL_SECTION*>(*slot);
    DeleteCriticalSection(section);
    HeapFree(GetProcessHeap(), 0, section);
  }
  *slot = kFirstMutexInitialiser;
  return 0;
}

int pthread_mutex_lock(MutexSlot* slot) {
  CRITICAL_SECTION* section = SectionOf(slot);
  if (section == nullptr) return ENOMEM;
  EnterCriticalSection(section);
  return 0;
}

int pthread_mutex_unlock(MutexSlot* slot) {
  if (IsMutexInitialiser(*slot)) return EPERM;  // never locked
  LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(*slot));
  return 0;
}

int pthread_cond_wait(ConditionSlot* condition, MutexSlot* mutex) {
  if (IsMutexInitialiser(*mutex)) return EPERM;  // the caller must hold it
  const bool woken = SleepConditionVariableCS(
      ConditionOf(condition), reinterpret_cast<CRITICAL_SECTION*>(*mutex), INFINITE);
  return woken ? 0 : EINVAL;
}

int pthread_cond_broadcast(ConditionSlot* condition) {
  WakeAllConditionVariable(ConditionOf(condition));
  return 0;
}

int pthread_key_create(KeySlot* key, void (*destructor)(void*)) {
  const DWORD index = TlsAlloc();
  if (index == TLS_OUT_OF_INDEXES) return EAGAIN;
  if (destructor != nullptr && __mingwthr_key_dtor(index, destructor) != 0) {
    TlsFree(index);
    return ENOMEM;
  }
  *key = index;
  return 0;
}

// The runtime asks for its exception state while an error is being raised: the thread's last
// error, which the engine reports, must survive the question.
void* pthread_getspecific(KeySlot key) {
  const DWORD last_error = GetLastError();
  void* value = TlsGetValue(key);
  SetLastError(last_error);
  return value;
}

int pthread_setspecific(KeySlot key, const void* value) {
  return TlsSetValue(key, const_cast<void*>(value)) ? 0 : EINVAL;
}

}  // extern "C"
