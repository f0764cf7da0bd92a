#include "standin/outlook/property_pages_object.h"

#include <optional>
#include <string>
#include <utility>

#include "host/host_error.h"
#include "host/memory/host_messages.h"

namespace qor::standin {
namespace {

std::size_t Slot(std::size_t count, int index) {
  if (index < 1 || static_cast<std::size_t>(index) > count)
    throw host::HostError(host::memory::messages::kIndexOutOfBounds);
  return static_cast<std::size_t>(index - 1);
}

}  // namespace

const com::DispatchTable<PropertyPagesObject>& PropertyPagesObject::DispatchMembers() {
  using Self = PropertyPagesObject;
  static const auto table =
      com::DispatchTable<Self>()
          .Property("Count", [](Self& self) { return static_cast<int>(self.pages_.size()); })
          .Method("Item", DISPID_VALUE,
                  [](Self& self, int index) { return self.pages_[Slot(self.pages_.size(), index)].page; })
          .Method("Add",
                  [](Self& self, com::Variant page, std::optional<std::string> title) {
                    self.pages_.push_back({std::move(page), title.value_or(std::string())});
                  })
          .Method("Remove", [](Self& self, int index) {
            self.pages_.erase(self.pages_.begin() + static_cast<std::ptrdiff_t>(Slot(self.pages_.size(), index)));
          });
  return table;
}

}  // namespace qor::standin
