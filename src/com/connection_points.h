#pragma once

// Events raised by our own objects through connection points. Outgoing interfaces are
// dispinterfaces: each sink is called with IDispatch::Invoke(DISPATCH_METHOD), as Office calls
// its sinks.
//
// Fire snapshots the sinks, so a sink may Advise or Unadvise during the call; a sink unadvised by
// an earlier one is skipped, one advised during the call waits for the next event. All sinks see
// the same by-reference arguments, so a Cancel flag set by one is seen by the later sinks and by
// the caller. A failing sink does not stop the others: its error is collected in FireResult.
// EnumConnectionPoints and EnumConnections answer E_NOTIMPL; no Office client asks for them.
//
// Usage: list ConnectionPointContainerImpl among the ComObject interfaces and call
// AddConnectionPoint(iid) for each event interface in the constructor.

#include "com/com_error.h"
#include "com/variant.h"

#include <ocidl.h>
#include <olectl.h>

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace qor::com {

struct FireResult {
  std::size_t sinksCalled = 0;
  std::vector<ComError> failures;  // one per failed sink, with the sink's message
};

class ConnectionPoint;

class ConnectionPointContainerImpl : public IConnectionPointContainer {
 public:
  static bool AnswersIid(REFIID iid) noexcept { return iid == __uuidof(IConnectionPointContainer); }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) noexcept override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) noexcept override;

  // Arguments in declaration order; Variant::ByRef for by-reference ones.
  template <class... Args>
  FireResult Fire(REFIID iid, DISPID id, const Args&... args) {
    const std::array<Variant, sizeof...(Args)> list{Variant(args)...};
    return FireArgs(iid, id, list);
  }
  FireResult FireArgs(REFIID iid, DISPID id, std::span<const Variant> args);
  std::size_t SinkCount(REFIID iid) const noexcept;

  ConnectionPointContainerImpl(const ConnectionPointContainerImpl&) = delete;
  ConnectionPointContainerImpl& operator=(const ConnectionPointContainerImpl&) = delete;

 protected:
  ConnectionPointContainerImpl() noexcept;
  ~ConnectionPointContainerImpl();  // releases every sink still advised
  void AddConnectionPoint(REFIID iid);

 private:
  ConnectionPoint* Point(REFIID iid) const noexcept;

  std::vector<std::unique_ptr<ConnectionPoint>> points_;
};

}  // namespace qor::com
