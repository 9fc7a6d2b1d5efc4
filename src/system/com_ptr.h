// Move-only owners for COM: an interface pointer holding one reference, and the thread's
// COM and OLE initialisations, each undone only when it succeeded.
#pragma once

#include <ole2.h>
#include <objbase.h>

#include <utility>

namespace qxi {

/// One reference on an interface; released by the destructor. Null when nothing was obtained.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* get() const noexcept { return pointer_; }
  Interface* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }
  /// Releases the held reference, if any, and returns the slot for a call that fills it.
  void** put() noexcept {
    reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void reset() noexcept {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

/// CoInitialize(NULL) for the life of the object; CoUninitialize only if it succeeded
/// (S_FALSE, already initialised, still counts and must be balanced too).
class CoInitialization {
 public:
  CoInitialization() noexcept : result_(CoInitialize(nullptr)) {}
  ~CoInitialization() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  CoInitialization(const CoInitialization&) = delete;
  CoInitialization& operator=(const CoInitialization&) = delete;

  HRESULT result() const noexcept { return result_; }

 private:
  HRESULT result_;
};

/// OleInitialize(NULL) for the life of the object; OleUninitialize only if it succeeded.
class OleInitialization {
 public:
  OleInitialization() noexcept : result_(OleInitialize(nullptr)) {}
  ~OleInitialization() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }
  OleInitialization(const OleInitialization&) = delete;
  OleInitialization& operator=(const OleInitialization&) = delete;

  HRESULT result() const noexcept { return result_; }

 private:
  HRESULT result_;
};

}  // namespace qxi
