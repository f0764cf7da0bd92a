#include "standin/office/ribbon_control_object.h"

namespace qor::standin::office {

const com::DispatchTable<RibbonControlObject>& RibbonControlObject::DispatchMembers() {
  using Self = RibbonControlObject;
  static const auto table = com::DispatchTable<Self>()
                                .Property("Id", 1, [](Self& self) { return self.id_; })
                                .Property("Context", 2, [](Self& self) { return self.context_; })
                                .Property("Tag", 3, [](Self& self) { return self.tag_; });
  return table;
}

}  // namespace qor::standin::office
