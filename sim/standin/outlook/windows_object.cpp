#include "standin/outlook/windows_object.h"

#include <algorithm>

#include "host/host_error.h"
#include "host/memory/host_messages.h"
#include "standin/outlook/outlook_ids.h"

namespace qor::standin {

WindowsObject::WindowsObject(const IID& iid, const IID& eventsIid) : iid_(iid), eventsIid_(eventsIid) {
  AddConnectionPoint(eventsIid_);
}

const com::DispatchTable<WindowsObject>& WindowsObject::DispatchMembers() {
  static const auto table =
      com::DispatchTable<WindowsObject>()
          .Property("Count", [](WindowsObject& self) { return static_cast<int>(self.windows_.size()); })
          .Property("Item", DISPID_VALUE, [](WindowsObject& self, int index) {
            if (index < 1 || static_cast<std::size_t>(index) > self.windows_.size())
              throw host::HostError(host::memory::messages::kIndexOutOfBounds);
            return self.windows_[static_cast<std::size_t>(index - 1)];
          });
  return table;
}

void WindowsObject::Add(const com::ComPtr<IDispatch>& window, bool announce) {
  windows_.push_back(window);
  if (announce) Fire(eventsIid_, ids::dispid::kNewWindow, window);
}

void WindowsObject::Remove(IDispatch* window) noexcept {
  const auto found =
      std::find_if(windows_.begin(), windows_.end(), [&](const auto& held) { return held.Get() == window; });
  if (found == windows_.end()) return;
  const com::ComPtr<IDispatch> released = std::move(*found);
  windows_.erase(found);
}

}  // namespace qor::standin
