// Move-only owners of Win32 handles: one template, one traits class per handle kind naming
// its invalid value and its close function. Destructors never throw and close only a valid
// handle.
#pragma once

#include <windows.h>

#include <utility>

namespace qxi {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
  Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Type handle = Traits::Invalid()) noexcept {
    Type old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Type handle_ = Traits::Invalid();
};

/// CreateFileA handles: invalid is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { CloseHandle(h); }
};

/// Handles whose failure value is null: file mappings, processes, threads, events.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { CloseHandle(h); }
};

/// MapViewOfFile views: invalid is null.
struct MappedViewTraits {
  using Type = const void*;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type view) noexcept { UnmapViewOfFile(view); }
};

/// FindFirstFileA searches: invalid is INVALID_HANDLE_VALUE.
struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { FindClose(h); }
};

using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

}  // namespace qxi
