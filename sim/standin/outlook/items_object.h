#pragma once

// Items over the host's item collections; GetFirst and GetNext keep the host's cursor.

#include <oaidl.h>

#include <memory>

#include "com/com_object.h"
#include "host/outlook.h"
#include "standin/office/counted_dispatch.h"

namespace qor::standin {

class ItemsObject final : public com::ComObject<ItemsObject, office::CountedDispatch<ItemsObject>> {
 public:
  explicit ItemsObject(std::shared_ptr<host::Items> items) noexcept : items_(std::move(items)) {}

  static const com::DispatchTable<ItemsObject>& DispatchMembers();

 private:
  std::shared_ptr<host::Items> items_;
};

com::ComPtr<IDispatch> MakeItemsObject(std::shared_ptr<host::Items> items);

}  // namespace qor::standin
