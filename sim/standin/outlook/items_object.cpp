#include "standin/outlook/items_object.h"

#include <string>
#include <utility>

#include "standin/outlook/item_objects.h"

namespace qor::standin {

const com::DispatchTable<ItemsObject>& ItemsObject::DispatchMembers() {
  static const auto table =
      com::DispatchTable<ItemsObject>()
          .Property("Count", [](ItemsObject& self) { return self.items_->Count(); })
          .Property("Item", DISPID_VALUE,
                    [](ItemsObject& self, int index) { return MakeItemObject(self.items_->Item(index)); })
          .Method("Restrict",
                  [](ItemsObject& self, std::string filter) { return MakeItemsObject(self.items_->Restrict(filter)); })
          .Method("GetFirst", [](ItemsObject& self) { return MakeItemObject(self.items_->GetFirst()); })
          .Method("GetNext", [](ItemsObject& self) { return MakeItemObject(self.items_->GetNext()); });
  return table;
}

com::ComPtr<IDispatch> MakeItemsObject(std::shared_ptr<host::Items> items) {
  return com::Make<ItemsObject>(std::move(items));
}

}  // namespace qor::standin
