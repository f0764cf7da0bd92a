#include "framework/event_params.h"

#include "com/boundary.h"
#include "com/com_error.h"

namespace qor::framework {

std::size_t EventParamPosition(const DISPPARAMS& params, std::size_t index) noexcept {
  if (params.cNamedArgs > 0 && params.rgdispidNamedArgs != nullptr && index < params.cNamedArgs)
    return static_cast<std::size_t>(params.rgdispidNamedArgs[index]);
  return params.cArgs - 1 - index;
}

std::vector<com::Variant> EventParams(const DISPPARAMS& params) {
  std::vector<com::Variant> values(params.cArgs);
  if (params.cArgs > 0 && params.rgvarg == nullptr) throw com::ComError(E_POINTER);
  for (std::size_t i = 0; i < params.cArgs; ++i) {
    const std::size_t position = EventParamPosition(params, i);
    if (position >= values.size()) throw com::ComError(DISP_E_BADPARAMCOUNT);
    com::Variant copy;
    // VariantCopy keeps a by-reference argument a reference.
    if (FAILED(VariantCopy(copy.Put(), &params.rgvarg[i]))) continue;
    values[position] = std::move(copy);
  }
  return values;
}

void WriteBackBooleans(const DISPPARAMS& params, const std::vector<com::Variant>& values) noexcept {
  if (params.rgvarg == nullptr) return;
  for (std::size_t i = 0; i < params.cArgs; ++i) {
    VARIANT& argument = params.rgvarg[i];
    if (argument.vt != (VT_BYREF | VT_BOOL) || argument.pboolVal == nullptr) continue;
    const std::size_t position = EventParamPosition(params, i);
    if (position >= values.size()) continue;
    com::PassingOver("WriteBackBooleans", [&] {
      *argument.pboolVal = values[position].ToBool() ? VARIANT_TRUE : VARIANT_FALSE;
    });
  }
}

}  // namespace qor::framework
