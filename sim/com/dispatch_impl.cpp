#include "com/dispatch_impl.h"

#include <stdexcept>

namespace qor::com {

bool DispatchNamesEqual(std::wstring_view left, std::wstring_view right) noexcept {
  if (left.size() != right.size()) return false;
  if (left.empty()) return true;
  return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(), static_cast<int>(right.size()),
                              TRUE) == CSTR_EQUAL;
}

void ThrowDuplicateMember(std::wstring_view name) {
  throw std::logic_error("IDispatch member declared twice: " + ToUtf8(name));
}

namespace detail {

HRESULT CheckDispParams(const DISPPARAMS* params, bool isPut, std::size_t minArgs, std::size_t maxArgs) noexcept {
  if (params == nullptr) return E_POINTER;
  if ((params->cArgs != 0 && params->rgvarg == nullptr) ||
      (params->cNamedArgs != 0 && params->rgdispidNamedArgs == nullptr) || params->cNamedArgs > params->cArgs)
    return E_INVALIDARG;
  if (isPut) {
    if (params->cNamedArgs == 0) return DISP_E_PARAMNOTFOUND;
    if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_NONAMEDARGS;
  } else if (params->cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  }
  if (params->cArgs < minArgs || params->cArgs > maxArgs) return DISP_E_BADPARAMCOUNT;
  return S_OK;
}

HRESULT FindDispIds(UINT count, DISPID* ids, DISPID first) noexcept {
  ids[0] = first;
  // Further names would be parameter names, and members here take their arguments by position.
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return first == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

}  // namespace detail
}  // namespace qor::com
