#pragma once

// IDispatch implemented from a DispatchTable, without a type library:
//   class Item : public ComObject<Item, DispatchImpl<Item>> {
//    public:
//     static const DispatchTable<Item>& DispatchMembers();  // static or not
//   };
// Names are found ignoring case. Invoke answers DISP_E_MEMBERNOTFOUND for an unknown DISPID or a
// kind the member lacks, DISP_E_BADPARAMCOUNT for a wrong number of arguments, the conversion
// error and its position (puArgErr) for an argument of the wrong type, and DISP_E_EXCEPTION with
// the message in EXCEPINFO for anything a handler throws. Named arguments other than a property
// put's value are refused (DISP_E_NONAMEDARGS).
// `Interface` may be a dual interface derived from IDispatch (IDTExtensibility2, ...); both IIDs
// are answered. A class that declares its dispinterface's IID answers a type info naming it (see
// dispatch_type_info.h); others answer none.

#include "com/com_error.h"
#include "com/dispatch_table.h"
#include "com/dispatch_type_info.h"
#include "com/type_info_answer.h"

#include <oaidl.h>

namespace qor::com {

namespace detail {
// The handler `flags` asks for; null when the member has none of that kind.
template <class D>
const DispatchHandler<D>* ChooseHandler(const DispatchMember<D>& member, WORD flags) noexcept {
  if ((flags & DISPATCH_METHOD) != 0 && member.method) return &member.method;
  if ((flags & DISPATCH_PROPERTYGET) != 0 && member.get) return &member.get;
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0 && member.put) return &member.put;
  return nullptr;
}

HRESULT CheckDispParams(const DISPPARAMS* params, bool isPut, std::size_t minArgs, std::size_t maxArgs) noexcept;
}  // namespace detail

template <class D, class Interface = IDispatch>
class DispatchImpl : public Interface {
 public:
  static bool AnswersIid(REFIID iid) noexcept { return iid == __uuidof(IDispatch) || iid == __uuidof(Interface); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    if (count == nullptr) return E_POINTER;
    *count = DescribedDispatch<D> ? 1 : 0;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept override {
    if constexpr (DescribedDispatch<D>) {
      ComPtr<DispatchTypeInfo<D>> made;
      return AnswerTypeInfo(index, info, [&made]() -> ITypeInfo& {
        made = Make<DispatchTypeInfo<D>>();
        return *made.Get();
      });
    } else {
      if (info == nullptr) return E_POINTER;
      *info = nullptr;
      return E_NOTIMPL;
    }
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) noexcept override try {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (count == 0) return S_OK;
    if (names == nullptr || ids == nullptr || names[0] == nullptr) return E_POINTER;
    const DispatchMember<D>* member = Members().Find(std::wstring_view(names[0]));
    return detail::FindDispIds(count, ids, member == nullptr ? DISPID_UNKNOWN : member->id);
  } catch (...) {
    return ReportToCom();
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override {
    if (result != nullptr) VariantInit(result);
    if (info != nullptr) *info = EXCEPINFO{};
    try {
      if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
      const DispatchMember<D>* member = Members().Find(id);
      if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
      const DispatchHandler<D>* handler = detail::ChooseHandler(*member, flags);
      if (handler == nullptr) return DISP_E_MEMBERNOTFOUND;
      const bool isPut = handler == &member->put;
      if (const HRESULT hr = detail::CheckDispParams(params, isPut, handler->minArgs, handler->maxArgs); FAILED(hr))
        return hr;
      Variant value = handler->call(static_cast<D&>(*this), DispatchArgs(params->rgvarg, params->cArgs));
      if (result != nullptr && !isPut) *result = value.Detach();
      return S_OK;
    } catch (const ArgumentError& error) {
      if (argumentError != nullptr && error.Position() < params->cArgs)
        *argumentError = static_cast<UINT>(params->cArgs - 1 - error.Position());
      return error.Code();
    } catch (...) {
      return ReportToExcepInfo(info);
    }
  }

 private:
  decltype(auto) Members() { return static_cast<D*>(this)->DispatchMembers(); }
};

}  // namespace qor::com
