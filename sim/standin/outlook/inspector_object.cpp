#include "standin/outlook/inspector_object.h"

#include <optional>
#include <utility>

#include "standin/outlook/item_objects.h"
#include "standin/outlook/outlook_session.h"

namespace qor::standin {

InspectorObject::InspectorObject(std::weak_ptr<OutlookSession> session, std::shared_ptr<host::Item> item,
                                 com::ComPtr<IDispatch> commandBars)
    : OutlookWindow(std::move(session), kInspectorClosed), item_(std::move(item)), commandBars_(std::move(commandBars)) {
  AddConnectionPoint(ids::kInspectorEvents);
}

const com::DispatchTable<InspectorObject>& InspectorObject::DispatchMembers() {
  using Self = InspectorObject;
  static const auto table = com::DispatchTable<Self>()
                                .Property("CurrentItem",
                                          [](Self& self) {
                                            self.CheckOpen();
                                            return MakeItemObject(self.item_);
                                          })
                                .Property("CommandBars",
                                          [](Self& self) {
                                            self.CheckOpen();
                                            return self.commandBars_;
                                          })
                                .Method("Activate",
                                        [](Self& self) {
                                          self.CheckOpen();
                                          self.Session()->Activate(self);
                                        })
                                .Method("Close", [](Self& self, std::optional<int>) {
                                  // The save mode is the item's business; the window just closes.
                                  self.CheckOpen();
                                  self.Session()->Close(self);
                                });
  return table;
}

com::ComPtr<IDispatch> InspectorObject::WindowObject() {
  com::ComPtr<IDispatch> self;
  self.CopyFrom(this);
  return self;
}

void InspectorObject::RaiseWindowEvent(DISPID id) { Fire(ids::kInspectorEvents, id); }

}  // namespace qor::standin
