#pragma once

// The one owning interface pointer. There is no constructor from a raw pointer: every adoption
// says whether it takes a reference (Attach) or adds one (CopyFrom).

#include "com/com_error.h"

#include <unknwn.h>

#include <concepts>
#include <cstddef>
#include <utility>

namespace qor::com {

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  ComPtr(const ComPtr& other) noexcept : ptr_(other.ptr_) { AddRefHeld(); }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  template <class U>
    requires std::convertible_to<U*, T*>
  ComPtr(const ComPtr<U>& other) noexcept : ptr_(other.Get()) {
    AddRefHeld();
  }
  template <class U>
    requires std::convertible_to<U*, T*>
  ComPtr(ComPtr<U>&& other) noexcept : ptr_(other.Detach()) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }

  // Takes over the caller's reference.
  void Attach(T* raw) noexcept {
    T* old = std::exchange(ptr_, raw);
    if (old != nullptr) old->Release();
  }
  // Adds a reference of its own.
  void CopyFrom(T* raw) noexcept {
    if (raw != nullptr) raw->AddRef();
    Attach(raw);
  }
  [[nodiscard]] T* Detach() noexcept { return std::exchange(ptr_, nullptr); }
  void Reset() noexcept { Attach(nullptr); }

  // Out-parameter slots; what was held is released first.
  T** Put() noexcept {
    Reset();
    return &ptr_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

  T* Get() const noexcept { return ptr_; }
  T* operator->() const noexcept { return ptr_; }
  T& operator*() const noexcept { return *ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }

  template <class U>
  ComPtr<U> TryAs() const noexcept {
    ComPtr<U> result;
    if (ptr_ != nullptr) ptr_->QueryInterface(__uuidof(U), result.PutVoid());
    return result;
  }
  template <class U>
  ComPtr<U> As() const {
    if (ptr_ == nullptr) throw ComError(E_POINTER);
    ComPtr<U> result;
    ThrowIfFailed(ptr_->QueryInterface(__uuidof(U), result.PutVoid()));
    return result;
  }

  // Pointer equality, not COM identity: compare IUnknown pointers for that.
  template <class U>
  bool operator==(const ComPtr<U>& other) const noexcept {
    return ptr_ == other.Get();
  }
  bool operator==(std::nullptr_t) const noexcept { return ptr_ == nullptr; }

 private:
  void AddRefHeld() const noexcept {
    if (ptr_ != nullptr) ptr_->AddRef();
  }

  T* ptr_ = nullptr;
};

}  // namespace qor::com
