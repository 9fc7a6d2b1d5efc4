// The thread primitives QXI.dll gives the C++ runtime (src/dll/runtime_threads.cpp), linked
// into a plain program the way they are linked into the DLL, under what the runtime does with
// them: local statics first used by several threads at once, exceptions thrown on several
// threads at once, a thread's exception state freed when it ends, the last error kept across
// a throw. Threads are started with CreateThread: the standard library's threads would link
// the toolchain's threads library back in.
#include <windows.h>

#include <cstdio>
#include <string>

extern "C" int pthread_key_create(unsigned* key, void (*destructor)(void*));
extern "C" int pthread_setspecific(unsigned key, const void* value);
extern "C" int pthread_once(long* flag, void (*function)(void));

namespace {

int g_failures = 0;

void Check(bool holds, const char* what) {
  if (holds) return;
  ++g_failures;
  std::printf("FAIL %s\n", what);
}

constexpr int kThreads = 8;

// Starts `body(index)` on kThreads threads at once and waits for them all.
template <typename Body>
struct Start {
  Body* body;
  int index;
};

template <typename Body>
DWORD WINAPI RunStart(void* p) {
  auto* start = static_cast<Start<Body>*>(p);
  (*start->body)(start->index);
  return 0;
}

template <typename Body>
void OnThreads(Body body) {
  Start<Body> starts[kThreads];
  HANDLE threads[kThreads];
  for (int i = 0; i < kThreads; ++i) {
    starts[i] = {&body, i};
    threads[i] = CreateThread(nullptr, 0, RunStart<Body>, &starts[i], 0, nullptr);
  }
  WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
  for (HANDLE thread : threads) CloseHandle(thread);
}

volatile LONG g_static_inits = 0;

// A local static whose initialisation takes a while, so that the other threads wait for it.
int SlowStatic() {
  static const int value = [] {
    InterlockedIncrement(&g_static_inits);
    Sleep(100);
    return 42;
  }();
  return value;
}

volatile LONG g_once_runs = 0;
void CountOnce() {
  Sleep(50);  // a caller that does not wait returns before the count
  InterlockedIncrement(&g_once_runs);
}

void* volatile g_destroyed = nullptr;
void Destroy(void* value) { g_destroyed = value; }

int g_value = 7;
DWORD WINAPI SetValueAndEnd(void* key) {
  pthread_setspecific(*static_cast<unsigned*>(key), &g_value);
  return 0;
}

}  // namespace

int main() {
  volatile LONG wrong_static = 0;
  OnThreads([&](int) {
    if (SlowStatic() != 42) InterlockedIncrement(&wrong_static);
  });
  Check(g_static_inits == 1 && wrong_static == 0, "a local static is initialised once, for all");

  long flag = 0;
  volatile LONG early = 0;
  OnThreads([&](int) {
    pthread_once(&flag, CountOnce);
    if (g_once_runs != 1) InterlockedIncrement(&early);
  });
  Check(g_once_runs == 1 && early == 0, "once runs once, and no caller returns before it ran");

  volatile LONG lost = 0;
  OnThreads([&](int index) {
    for (int i = 0; i < 2000; ++i) {
      const std::string thrown = std::to_string(index) + ":" + std::to_string(i);
      try {
        SetLastError(1000 + i);
        throw std::string(thrown);
      } catch (const std::string& caught) {
        if (caught != thrown || GetLastError() != static_cast<DWORD>(1000 + i)) {
          InterlockedIncrement(&lost);
        }
      }
    }
  });
  Check(lost == 0, "each thread catches its own exceptions, with its last error kept");

  unsigned key = 0;
  Check(pthread_key_create(&key, Destroy) == 0, "a key is made");
  HANDLE thread = CreateThread(nullptr, 0, SetValueAndEnd, &key, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  Check(g_destroyed == &g_value, "a thread's value is destroyed when the thread ends");

  if (g_failures == 0) std::printf("runtime threads: all checks passed\n");
  return g_failures == 0 ? 0 : 1;
}
