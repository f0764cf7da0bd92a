#pragma once

// IDispatch for the stand-in's objects: DispatchImpl with every Invoke counted, so that a host can
// tell how many calls an add-in makes on Outlook's and Office's objects.

#include <oaidl.h>

#include "com/dispatch_impl.h"

namespace qor::standin::office {

// Invoke calls the stand-in's objects have served in this process so far.
long long StandinCallCount() noexcept;
void CountStandinCall() noexcept;

template <class D, class Interface = IDispatch>
class CountedDispatch : public com::DispatchImpl<D, Interface> {
 public:
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override {
    CountStandinCall();
    return com::DispatchImpl<D, Interface>::Invoke(id, iid, locale, flags, params, result, info, argumentError);
  }
};

}  // namespace qor::standin::office
