#pragma once

// Outlook's Inspector: an item window with its command bars and InspectorEvents.

#include <oaidl.h>

#include <memory>

#include "com/com_object.h"
#include "com/connection_points.h"
#include "host/outlook.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/outlook_ids.h"
#include "standin/outlook/outlook_window.h"

namespace qor::standin {

class InspectorObject final : public com::ComObject<InspectorObject, office::CountedDispatch<InspectorObject>,
                                                    com::ConnectionPointContainerImpl>,
                              public OutlookWindow {
 public:
  InspectorObject(std::weak_ptr<OutlookSession> session, std::shared_ptr<host::Item> item,
                  com::ComPtr<IDispatch> commandBars);

  static const com::DispatchTable<InspectorObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == ids::kInspector; }

  com::ComPtr<IDispatch> WindowObject() override;
  bool IsExplorer() const noexcept override { return false; }
  void RaiseWindowEvent(DISPID id) override;

  const com::ComPtr<IDispatch>& CommandBars() const noexcept { return commandBars_; }

 private:
  std::shared_ptr<host::Item> item_;
  com::ComPtr<IDispatch> commandBars_;
};

}  // namespace qor::standin
