#pragma once

// The IDispatch of a command-bar event sink: no type information, and one event, DISPID 1, found
// by its name in the ANSI code page, compared case-sensitively as Office's own sinks compare it.

#include <windows.h>

#include <oaidl.h>

#include <cstring>

#include "com/typeless_dispatch.h"

namespace qor::framework {

class SingleEventDispatch : public com::TypelessDispatch {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    if (count != 1) return E_INVALIDARG;
    char name[512] = {};
    const char* known = EventName();
    if (known != nullptr && names[0] != nullptr &&
        WideCharToMultiByte(CP_ACP, 0, names[0], -1, name, sizeof name, nullptr, nullptr) > 0 &&
        std::strcmp(name, known) == 0) {
      ids[0] = 1;
      return S_OK;
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

 protected:
  // The one event's name; null when the sink serves none.
  virtual const char* EventName() const noexcept = 0;
};

}  // namespace qor::framework
