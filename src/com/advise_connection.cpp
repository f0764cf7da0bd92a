#include "com/advise_connection.h"

#include <olectl.h>

#include <utility>

#include "com/com_error.h"

namespace qor::com {

AdviseConnection::AdviseConnection(IUnknown& source, REFIID events, IUnknown& sink) {
  ThrowIfFailed(Advise(source, events, sink));
}

AdviseConnection AdviseConnection::TryAdvise(IUnknown& source, REFIID events, IUnknown& sink) noexcept {
  AdviseConnection connection;
  connection.Advise(source, events, sink);
  return connection;
}

HRESULT AdviseConnection::Advise(IUnknown& source, REFIID events, IUnknown& sink) noexcept {
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  HRESULT result = source.QueryInterface(__uuidof(IConnectionPointContainer), container.PutVoid());
  if (SUCCEEDED(result)) result = container->FindConnectionPoint(events, point.Put());
  if (SUCCEEDED(result) && !point) result = CONNECT_E_NOCONNECTION;
  DWORD cookie = 0;
  if (SUCCEEDED(result)) result = point->Advise(&sink, &cookie);
  if (FAILED(result)) return result;
  point_ = std::move(point);
  cookie_ = cookie;
  return S_OK;
}

AdviseConnection::AdviseConnection(AdviseConnection&& other) noexcept
    : point_(std::move(other.point_)), cookie_(std::exchange(other.cookie_, 0)) {}

AdviseConnection& AdviseConnection::operator=(AdviseConnection&& other) noexcept {
  if (this != &other) {
    Unadvise();
    point_ = std::move(other.point_);
    cookie_ = std::exchange(other.cookie_, 0);
  }
  return *this;
}

// Cleared before the call: the sink Unadvise releases may own this connection.
void AdviseConnection::Unadvise() noexcept {
  const ComPtr<IConnectionPoint> point = std::move(point_);
  const DWORD cookie = std::exchange(cookie_, 0);
  if (point && cookie != 0) point->Unadvise(cookie);
}

}  // namespace qor::com
