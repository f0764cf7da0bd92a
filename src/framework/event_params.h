#pragma once

// The arguments of a host event as the framework's sinks read them: copied out of DISPPARAMS into
// declaration order (element 0 is the event's first argument). A by-reference argument stays a
// reference, so a handler writing through it reaches the host.

#include <oaidl.h>

#include <cstddef>
#include <vector>

#include "com/variant.h"

namespace qor::framework {

// Where DISPPARAMS element `index` lands: reversed without named arguments; with them, a named
// argument's DISPID is taken as its position.
std::size_t EventParamPosition(const DISPPARAMS& params, std::size_t index) noexcept;

// Throws ComError(DISP_E_BADPARAMCOUNT) for a named-argument DISPID outside the argument count.
std::vector<com::Variant> EventParams(const DISPPARAMS& params);

// Stores the Boolean value of each `values` element through its by-reference Boolean argument
// (VT_BYREF | VT_BOOL) as VARIANT_TRUE or VARIANT_FALSE; what does not convert is left alone.
void WriteBackBooleans(const DISPPARAMS& params, const std::vector<com::Variant>& values) noexcept;

}  // namespace qor::framework
