#pragma once

// IDispatch for the stand-in's objects: DispatchImpl with every call counted, so that a host can
// tell how many calls an add-in makes on Outlook's and Office's objects: Invoke, and apart from it
// the name look-ups (GetIDsOfNames) and type info requests (GetTypeInfo) that precede calls.

#include <oaidl.h>

#include "com/dispatch_impl.h"

namespace qor::standin::office {

struct StandinCalls {
  long long calls = 0;  // Invoke, and the methods of the few vtable interfaces the stand-in offers
  long long nameLookups = 0;
  long long typeInfos = 0;
};

// What the stand-in's objects have served in this process so far.
const StandinCalls& StandinCallCounts() noexcept;
inline long long StandinCallCount() noexcept { return StandinCallCounts().calls; }
void CountStandinCall() noexcept;
void CountStandinNameLookup() noexcept;
void CountStandinTypeInfo() noexcept;

template <class D, class Interface = IDispatch>
class CountedDispatch : public com::DispatchImpl<D, Interface> {
  using Base = com::DispatchImpl<D, Interface>;

 public:
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override {
    CountStandinCall();
    return Base::Invoke(id, iid, locale, flags, params, result, info, argumentError);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override {
    CountStandinNameLookup();
    return Base::GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override {
    CountStandinTypeInfo();
    return Base::GetTypeInfo(index, locale, info);
  }
};

}  // namespace qor::standin::office
