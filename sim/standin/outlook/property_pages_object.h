#pragma once

// The PropertyPages collection Outlook hands to OptionsPagesAdd: pages added by add-ins.

#include <oaidl.h>

#include <string>
#include <vector>

#include "com/com_object.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/outlook_ids.h"

namespace qor::standin {

class PropertyPagesObject final
    : public com::ComObject<PropertyPagesObject, office::CountedDispatch<PropertyPagesObject>> {
 public:
  static const com::DispatchTable<PropertyPagesObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == ids::kPropertyPages; }

  struct Page {
    com::Variant page;  // a PropertyPage object or a control's ProgID
    std::string title;
  };
  const std::vector<Page>& Pages() const noexcept { return pages_; }

 private:
  std::vector<Page> pages_;
};

}  // namespace qor::standin
