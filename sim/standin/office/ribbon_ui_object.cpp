#include "standin/office/ribbon_ui_object.h"

#include "standin/office/office_errors.h"

namespace qor::standin::office {

const com::DispatchTable<RibbonUiObject>& RibbonUiObject::DispatchMembers() {
  using Self = RibbonUiObject;
  static const auto table = com::DispatchTable<Self>()
                                .Method("Invalidate", 1, [](Self& self) { self.invalidated_({}); })
                                .Method("InvalidateControl", 2, [](Self& self, std::string controlId) {
                                  if (controlId.empty()) ThrowInvalidArgument();
                                  self.invalidated_(controlId);
                                });
  return table;
}

}  // namespace qor::standin::office
