#pragma once

// Office's IRibbonControl: the control a customUI call-back such as onAction receives.

#include <oaidl.h>

#include <string>

#include "com/com_object.h"
#include "standin/office/counted_dispatch.h"
#include "standin/office/addin_objects.h"

namespace qor::standin::office {

inline constexpr IID kRibbonControlIid = OfficeIid(0x000C0395);

class RibbonControlObject final : public com::ComObject<RibbonControlObject, CountedDispatch<RibbonControlObject>> {
 public:
  // `context`: the object the control acts on (a context menu's folder, the window of a ribbon).
  RibbonControlObject(std::string id, com::ComPtr<IDispatch> context, std::string tag)
      : id_(std::move(id)), context_(std::move(context)), tag_(std::move(tag)) {}

  static const com::DispatchTable<RibbonControlObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == kRibbonControlIid; }

 private:
  std::string id_;
  com::ComPtr<IDispatch> context_;
  std::string tag_;
};

}  // namespace qor::standin::office
