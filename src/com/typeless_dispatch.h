#pragma once

// The IDispatch of an event sink that has no type information and no names: a host calls it by
// DISPID only. Derived classes implement Invoke.

#include <oaidl.h>

namespace qor::com {

class TypelessDispatch : public IDispatch {
 public:
  static bool AnswersIid(REFIID iid) noexcept { return iid == __uuidof(IDispatch); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
    return E_NOTIMPL;
  }
};

}  // namespace qor::com
