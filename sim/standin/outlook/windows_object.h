#pragma once

// Outlook's Explorers and Inspectors collections: the open windows of one kind, in opening order,
// and the source of NewExplorer / NewInspector.

#include <oaidl.h>

#include <vector>

#include "com/com_object.h"
#include "com/connection_points.h"
#include "standin/office/counted_dispatch.h"

namespace qor::standin {

class WindowsObject final
    : public com::ComObject<WindowsObject, office::CountedDispatch<WindowsObject>, com::ConnectionPointContainerImpl> {
 public:
  // `iid` is _Explorers or _Inspectors, `eventsIid` ExplorersEvents or InspectorsEvents.
  WindowsObject(const IID& iid, const IID& eventsIid);

  static const com::DispatchTable<WindowsObject>& DispatchMembers();
  bool ExtraInterface(REFIID iid) const noexcept { return iid == iid_; }

  // Appends the window and raises the new-window event with it.
  void Add(const com::ComPtr<IDispatch>& window, bool announce);
  void Remove(IDispatch* window) noexcept;
  std::size_t Count() const noexcept { return windows_.size(); }

 private:
  IID iid_;
  IID eventsIid_;
  std::vector<com::ComPtr<IDispatch>> windows_;
};

}  // namespace qor::standin
