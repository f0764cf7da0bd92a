#pragma once

// Office's IRibbonUI, the object a customUI document's onLoad call-back receives. The host learns
// of every invalidation through a call-back: an empty control id for the whole ribbon.

#include <oaidl.h>

#include <functional>
#include <string>

#include "com/com_object.h"
#include "standin/office/addin_objects.h"
#include "standin/office/counted_dispatch.h"

namespace qor::standin::office {

inline constexpr IID kRibbonUiIid = OfficeIid(0x000C03A7);

class RibbonUiObject final : public com::ComObject<RibbonUiObject, CountedDispatch<RibbonUiObject>> {
 public:
  using Invalidated = std::function<void(const std::string& controlId)>;
  explicit RibbonUiObject(Invalidated invalidated) : invalidated_(std::move(invalidated)) {}

  static const com::DispatchTable<RibbonUiObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == kRibbonUiIid; }

 private:
  Invalidated invalidated_;
};

}  // namespace qor::standin::office
