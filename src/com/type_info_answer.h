#pragma once

// IDispatch::GetTypeInfo for an object described by one type info, found on demand.

#include <oaidl.h>

#include "com/boundary.h"

namespace qor::com {

// Answers index 0 with an added reference to what `typeInfo()` returns (an ITypeInfo&); what it
// throws becomes the HRESULT.
template <class TypeInfoSource>
HRESULT AnswerTypeInfo(UINT index, ITypeInfo** info, TypeInfoSource&& typeInfo) noexcept {
  return Entry("IDispatch.GetTypeInfo", [&]() -> HRESULT {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo& own = typeInfo();
    own.AddRef();
    *info = &own;
    return S_OK;
  });
}

}  // namespace qor::com
