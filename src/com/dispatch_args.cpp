#include "com/dispatch_args.h"

namespace qor::com {
namespace {

template <class T>
void Replace(T*& slot, T* value) {
  if (value != nullptr) value->AddRef();
  if (slot != nullptr) slot->Release();
  slot = value;
}

}  // namespace

Variant RefArg::Get() const {
  Variant value;
  ThrowIfFailed(VariantCopyInd(value.Put(), slot_));
  return value;
}

void RefArg::Set(const Variant& value) const {
  const VARTYPE type = static_cast<VARTYPE>(slot_->vt & ~VT_BYREF);
  if (type == VT_VARIANT) {
    ThrowIfFailed(VariantCopy(slot_->pvarVal, detail::ReadOnly(value)));
    return;
  }
  if (type == VT_DISPATCH) {
    Replace(*slot_->ppdispVal, value.ToDispatch().Get());
    return;
  }
  if (type == VT_UNKNOWN) {
    Replace(*slot_->ppunkVal, value.ToUnknown().Get());
    return;
  }
  Variant converted;
  if (FAILED(VariantChangeType(converted.Put(), detail::ReadOnly(value), 0, type))) throw ComError(DISP_E_TYPEMISMATCH);
  switch (type) {
    case VT_BOOL: *slot_->pboolVal = converted.Get().boolVal; break;
    case VT_I2: *slot_->piVal = converted.Get().iVal; break;
    case VT_I4: *slot_->plVal = converted.Get().lVal; break;
    case VT_I8: *slot_->pllVal = converted.Get().llVal; break;
    case VT_R8: *slot_->pdblVal = converted.Get().dblVal; break;
    case VT_BSTR: {
      Bstr text;
      text.Attach(converted.Detach().bstrVal);
      SysFreeString(*slot_->pbstrVal);
      *slot_->pbstrVal = text.Detach();
      break;
    }
    default: throw ComError(DISP_E_TYPEMISMATCH);
  }
}

bool DispatchArgs::IsMissing(std::size_t position) const noexcept {
  if (position >= count_) return true;
  const VARIANT& slot = Slot(position);
  return slot.vt == VT_ERROR && slot.scode == DISP_E_PARAMNOTFOUND;
}

const VARIANT& DispatchArgs::Raw(std::size_t position) const {
  if (IsMissing(position)) throw ArgumentError(DISP_E_PARAMNOTFOUND, position);
  return Slot(position);
}

Variant DispatchArgs::Value(std::size_t position) const { return RefArg(const_cast<VARIANT&>(Raw(position))).Get(); }

RefArg DispatchArgs::Ref(std::size_t position) const {
  VARIANT& slot = const_cast<VARIANT&>(Raw(position));
  if ((slot.vt & VT_BYREF) == 0) throw ArgumentError(DISP_E_TYPEMISMATCH, position);
  return RefArg(slot);
}

}  // namespace qor::com
