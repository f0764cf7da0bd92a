#pragma once

// The base of every COM object we implement: ComObject<Derived, Interfaces...> answers
// QueryInterface from the interface list, counts references atomically from 1 and deletes the
// object at zero. Objects come into being only through Make<T>(), which returns the first
// reference as a ComPtr.
//
// A listed base answers the IID __uuidof(Base), unless it declares
// `static bool AnswersIid(REFIID) noexcept` (as DispatchImpl and InterfaceWithBases do) to
// answer several. Derived may declare `bool ExtraInterface(REFIID) const noexcept` (static or
// not) to answer further IIDs through its IDispatch, e.g. the dispinterface of an event sink.

#include "com/com_ptr.h"

#include <oaidl.h>

#include <atomic>
#include <concepts>
#include <type_traits>
#include <utility>

namespace qor::com {

// Objects alive in this module; tests expect zero after every case.
long ComObjectsAlive() noexcept;

// The count DllCanUnloadNow consults: live objects plus explicit locks (IClassFactory::LockServer).
void ModuleLock() noexcept;
void ModuleUnlock() noexcept;
long ModuleLockCount() noexcept;

namespace detail {
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;

template <class Base>
bool Answers(REFIID iid) noexcept {
  if constexpr (requires { { Base::AnswersIid(iid) } -> std::convertible_to<bool>; })
    return Base::AnswersIid(iid);
  else
    return iid == __uuidof(Base);
}
}  // namespace detail

// An interface derived from other interfaces, listed once, answering the IIDs of all of them.
template <class Interface, class... Bases>
  requires(std::derived_from<Interface, Bases> && ...)
class InterfaceWithBases : public Interface {
 public:
  static bool AnswersIid(REFIID iid) noexcept { return iid == __uuidof(Interface) || ((iid == __uuidof(Bases)) || ...); }
};

template <class Derived, class First, class... Rest>
class ComObject : public First, public Rest... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    void* found = nullptr;
    if (iid == __uuidof(IUnknown)) {
      found = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      FindIn<First>(iid, found);
      (FindIn<Rest>(iid, found), ...);
    }
    if (found == nullptr) found = FindExtra(iid);
    if (found == nullptr) return E_NOINTERFACE;
    AddRef();
    *object = found;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

 protected:
  ComObject() noexcept { detail::ObjectCreated(); }
  virtual ~ComObject() { detail::ObjectDestroyed(); }

 private:
  template <class Base>
  void FindIn(REFIID iid, void*& found) noexcept {
    if (found == nullptr && detail::Answers<Base>(iid)) found = static_cast<Base*>(this);
  }
  void* FindExtra(REFIID iid) noexcept {
    auto* self = static_cast<Derived*>(this);
    if constexpr (requires { { self->ExtraInterface(iid) } -> std::convertible_to<bool>; }) {
      static_assert(noexcept(self->ExtraInterface(iid)), "ExtraInterface must be noexcept");
      static_assert(std::convertible_to<Derived*, IDispatch*>, "ExtraInterface answers through IDispatch");
      if (self->ExtraInterface(iid)) return static_cast<IDispatch*>(self);
    }
    return nullptr;
  }

  std::atomic<ULONG> refs_{1};
};

// Listed among the interfaces of an object whose methods end in ReportToCom: callers through a
// vtable trust the thread's error information only when the object vouches for it.
class SupportsErrorInfo : public ISupportErrorInfo {
 public:
  static bool AnswersIid(REFIID iid) noexcept { return iid == __uuidof(ISupportErrorInfo); }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID) noexcept override { return S_OK; }
};

// The only place where COM objects are allocated.
template <class T, class... Args>
ComPtr<T> Make(Args&&... args) {
  static_assert(std::is_nothrow_destructible_v<T>, "COM objects must not throw from their destructors");
  ComPtr<T> result;
  result.Attach(new T(std::forward<Args>(args)...));
  return result;
}

}  // namespace qor::com
