#pragma once

// Events of a host object delivered to C++ handlers: a small dispinterface sink advised on one
// connection point for as long as the EventConnection lives. A handler may end the connection
// (and free whatever owns it) while it runs: the sink and the handler stay alive for the call.

#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <utility>
#include <vector>

#include "com/advise_connection.h"
#include "com/com_ptr.h"
#include "com/dispatch_args.h"

namespace qor::framework {

using EventHandler = std::function<void(const com::DispatchArgs& args)>;

class EventConnection {
 public:
  EventConnection() = default;
  // Advises a sink answering `events` on `source`'s connection point for it; throws ComError when
  // the source has no such point.
  EventConnection(IDispatch& source, REFIID events, std::vector<std::pair<DISPID, EventHandler>> handlers);

  explicit operator bool() const noexcept { return static_cast<bool>(connection_); }
  void Disconnect() noexcept { connection_.Unadvise(); }

 private:
  com::AdviseConnection connection_;
};

}  // namespace qor::framework
