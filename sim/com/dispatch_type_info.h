#pragma once

// The type info a DispatchImpl class answers when it declares the dispinterface it stands for:
//   static constexpr IID kDispatchIid = ...;   // beside a static DispatchMembers()
// It says which interface the object is (TYPEATTR's guid, TKIND_DISPATCH) and maps names to
// DISPIDs from the class's table, which is what a client needs to share DISPIDs between objects
// of the interface. It describes no functions or variables: those calls answer E_NOTIMPL.

#include "com/com_error.h"
#include "com/com_object.h"
#include "com/dispatch_table.h"

#include <oaidl.h>

namespace qor::com {

template <class D>
concept DescribedDispatch = requires {
  { D::kDispatchIid } -> std::convertible_to<IID>;
  D::DispatchMembers();
};

template <DescribedDispatch D>
class DispatchTypeInfo final : public ComObject<DispatchTypeInfo<D>, ITypeInfo> {
 public:
  DispatchTypeInfo() noexcept {
    attributes_.guid = D::kDispatchIid;
    attributes_.lcid = LOCALE_NEUTRAL;
    attributes_.memidConstructor = MEMBERID_NIL;
    attributes_.memidDestructor = MEMBERID_NIL;
    attributes_.typekind = TKIND_DISPATCH;
    attributes_.cbSizeVft = 7 * sizeof(void*);  // IDispatch's methods
    attributes_.cbAlignment = alignof(void*);
    attributes_.wTypeFlags = TYPEFLAG_FDISPATCHABLE;
  }

  // The attributes live as long as this type info; ReleaseTypeAttr has nothing to free.
  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attributes) noexcept override {
    if (attributes == nullptr) return E_POINTER;
    *attributes = &attributes_;
    return S_OK;
  }
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR*) noexcept override {}

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) noexcept override try {
    if (count == 0) return S_OK;
    if (names == nullptr || ids == nullptr || names[0] == nullptr) return E_POINTER;
    const auto* member = D::DispatchMembers().Find(std::wstring_view(names[0]));
    return detail::FindDispIds(count, ids, member == nullptr ? DISPID_UNKNOWN : member->id);
  } catch (...) {
    return ReportToCom();
  }

  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** comp) noexcept override { return Nothing(comp); }
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC** desc) noexcept override { return Nothing(desc); }
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC** desc) noexcept override { return Nothing(desc); }
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT* count) noexcept override { return Nothing(count); }
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE* type) noexcept override { return Nothing(type); }
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT* flags) noexcept override { return Nothing(flags); }
  HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID, BSTR*, BSTR*, DWORD*, BSTR*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo** info) noexcept override { return Nothing(info); }
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID* address) noexcept override {
    return Nothing(address);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID* object) noexcept override {
    return Nothing(object);
  }
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR* mops) noexcept override { return Nothing(mops); }
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** library, UINT*) noexcept override {
    return Nothing(library);
  }
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) noexcept override {}
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) noexcept override {}

 private:
  template <class T>
  static HRESULT Nothing(T* out) noexcept {
    if (out != nullptr) *out = T{};
    return E_NOTIMPL;
  }

  TYPEATTR attributes_{};
};

}  // namespace qor::com
