#pragma once

// The dispinterface an object describes itself by through IDispatch::GetTypeInfo, and the DISPIDs
// of its members. A dispinterface's IID fixes its members and their DISPIDs, so names looked up
// in the type info are shared by every object of that interface in the process.

#include "com/com_ptr.h"

#include <oaidl.h>

#include <string_view>

namespace qor::com {

class DispatchType {
 public:
  // No type: the object's DISPIDs are its own.
  DispatchType() = default;
  // One GetTypeInfo call; no type when the object offers no type info or one without an IID.
  static DispatchType Of(IDispatch& object);

  explicit operator bool() const noexcept { return static_cast<bool>(info_); }
  // GUID_NULL without a type.
  const IID& Iid() const noexcept { return iid_; }

  // From the shared table, else from the type info; DISPID_UNKNOWN when the type does not name
  // the member (or there is no type), so that the object itself is asked.
  DISPID IdOf(std::string_view name) const;

 private:
  ComPtr<ITypeInfo> info_;
  IID iid_ = GUID_NULL;
};

}  // namespace qor::com
