#pragma once

// Outlook's Application: the root of the object model and the source of the application events
// (ApplicationEvents and ApplicationEvents_11).

#include <oaidl.h>

#include <memory>
#include <span>

#include "com/com_object.h"
#include "com/connection_points.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/outlook_ids.h"
#include "standin/outlook/outlook_session.h"

namespace qor::standin {

class ApplicationObject final : public com::ComObject<ApplicationObject, office::CountedDispatch<ApplicationObject>,
                                                      com::ConnectionPointContainerImpl> {
 public:
  explicit ApplicationObject(std::shared_ptr<OutlookSession> session);

  static const com::DispatchTable<ApplicationObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == ids::kApplication; }

  const std::shared_ptr<OutlookSession>& Session() const noexcept { return session_; }
  // Raises an event of both application event interfaces (Quit, OptionsPagesAdd, Startup).
  void RaiseApplicationEvent(DISPID id, std::span<const com::Variant> args);

 private:
  std::shared_ptr<OutlookSession> session_;
};

}  // namespace qor::standin
