#pragma once

// TadxCustomEvents: the base of the framework's host-event classes. It hands a TadxEventDispatch
// to the host's connection point and turns each incoming Invoke into one InvokeEvent call with the
// arguments in declaration order. Handler errors go to the owning module's DoError; a by-reference
// Boolean a handler changed (an event's Cancel) is written back to the host.

#include <oaidl.h>
#include <ocidl.h>

#include <vector>

#include "com/advise_connection.h"
#include "com/com_ptr.h"
#include "com/variant.h"

namespace qor::framework {

class ModuleSite;
class TadxEventDispatch;

// Per event class: the event interface it advises, and how many instances are alive.
struct TServerData {
  IID EventIID;
  int InstanceCount = 0;
};

class TadxCustomEvents {
 public:
  // Throws AdxError 31113 without an owner.
  explicit TadxCustomEvents(ModuleSite* owner);
  virtual ~TadxCustomEvents();
  TadxCustomEvents(const TadxCustomEvents&) = delete;
  TadxCustomEvents& operator=(const TadxCustomEvents&) = delete;

  // Disconnects first; a source without the event interface leaves the object unconnected.
  virtual void ConnectTo(IDispatch& source);
  virtual void Disconnect() noexcept;
  // Called by the dispatch object for every host event; `params[0]` is the first declared argument.
  virtual void InvokeEvent(DISPID id, std::vector<com::Variant>& params);

  ModuleSite& Owner() const noexcept { return *owner_; }
  TServerData& ServerData() const noexcept { return *serverData_; }

 protected:
  // Every descendant's constructor calls this with its static record: it counts the instance and
  // makes the dispatch object the host will call.
  void InitServerData(TServerData& data);
  // Advise on `source` and unadvise; failures are silent (nothing is connected).
  void ConnectEvents(IDispatch& source) noexcept;
  void DisconnectEvents() noexcept;
  // The object advised on the host, for descendants that hand it out themselves.
  IDispatch* EventDispatch() const noexcept;

 private:
  ModuleSite* owner_;
  TServerData* serverData_ = nullptr;
  com::ComPtr<TadxEventDispatch> FEventDispatch;
  com::AdviseConnection FEventsConnection;
};

}  // namespace qor::framework
