#include "com/connection_points.h"

#include "com/boundary.h"
#include "com/com_ptr.h"
#include "com/dispatch_call.h"

#include <algorithm>
#include <utility>

namespace qor::com {

// Lives and dies with its container, so it lends the container's reference count: a client
// holding only the connection point keeps the source alive, and no cycle forms between them.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer& container, REFIID iid) noexcept : container_(container), iid_(iid) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IConnectionPoint)) return E_NOINTERFACE;
    AddRef();
    *object = static_cast<IConnectionPoint*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return container_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return container_.Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override {
    if (iid == nullptr) return E_POINTER;
    *iid = iid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) noexcept override {
    if (container == nullptr) return E_POINTER;
    container_.AddRef();
    *container = &container_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override {
    return Entry("ConnectionPoint.Advise", [&]() -> HRESULT {
      if (cookie == nullptr) return E_POINTER;
      *cookie = 0;
      if (sink == nullptr) return E_POINTER;
      ComPtr<IDispatch> events;
      if (FAILED(sink->QueryInterface(iid_, events.PutVoid())) &&
          FAILED(sink->QueryInterface(__uuidof(IDispatch), events.PutVoid())))
        return CONNECT_E_CANNOTCONNECT;
      sinks_.push_back({nextCookie_, std::move(events)});
      *cookie = nextCookie_++;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override {
    const auto found = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
    if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
    // Released only after leaving the list: the sink's destructor may call back in.
    const ComPtr<IDispatch> released = std::move(found->events);
    sinks_.erase(found);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) noexcept override {
    if (connections == nullptr) return E_POINTER;
    *connections = nullptr;
    return E_NOTIMPL;
  }

  const IID& Iid() const noexcept { return iid_; }
  std::size_t SinkCount() const noexcept { return sinks_.size(); }

  FireResult Fire(DISPID id, std::span<const Variant> args) {
    ComPtr<IConnectionPointContainer> keepAlive;
    keepAlive.CopyFrom(&container_);
    const std::vector<Sink> snapshot = sinks_;
    FireResult result;
    for (const Sink& sink : snapshot) {
      if (!IsAdvised(sink.cookie)) continue;
      ++result.sinksCalled;
      try {
        InvokeDispatch(*sink.events.Get(), id, DISPATCH_METHOD, args);
      } catch (const ComError& error) {
        result.failures.push_back(error);
      }
    }
    return result;
  }

  void DisconnectAll() noexcept {
    std::vector<Sink> released;
    released.swap(sinks_);
  }

 private:
  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> events;
  };

  bool IsAdvised(DWORD cookie) const noexcept {
    return std::any_of(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
  }

  IConnectionPointContainer& container_;
  IID iid_;
  std::vector<Sink> sinks_;
  DWORD nextCookie_ = 1;
};

ConnectionPointContainerImpl::ConnectionPointContainerImpl() noexcept = default;

ConnectionPointContainerImpl::~ConnectionPointContainerImpl() {
  for (const auto& point : points_) point->DisconnectAll();
}

void ConnectionPointContainerImpl::AddConnectionPoint(REFIID iid) {
  if (Point(iid) == nullptr) points_.push_back(std::make_unique<ConnectionPoint>(*this, iid));
}

HRESULT ConnectionPointContainerImpl::EnumConnectionPoints(IEnumConnectionPoints** points) noexcept {
  if (points == nullptr) return E_POINTER;
  *points = nullptr;
  return E_NOTIMPL;
}

HRESULT ConnectionPointContainerImpl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) noexcept {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  ConnectionPoint* found = Point(iid);
  if (found == nullptr) return CONNECT_E_NOCONNECTION;
  found->AddRef();
  *point = found;
  return S_OK;
}

FireResult ConnectionPointContainerImpl::FireArgs(REFIID iid, DISPID id, std::span<const Variant> args) {
  ConnectionPoint* point = Point(iid);
  if (point == nullptr) throw ComError(CONNECT_E_NOCONNECTION);
  return point->Fire(id, args);
}

std::size_t ConnectionPointContainerImpl::SinkCount(REFIID iid) const noexcept {
  const ConnectionPoint* point = Point(iid);
  return point == nullptr ? 0 : point->SinkCount();
}

ConnectionPoint* ConnectionPointContainerImpl::Point(REFIID iid) const noexcept {
  for (const auto& point : points_)
    if (point->Iid() == iid) return point.get();
  return nullptr;
}

}  // namespace qor::com
