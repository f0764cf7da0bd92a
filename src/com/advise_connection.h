#pragma once

// One sink advised on one connection point of an event source, unadvised when the connection goes
// (a source that is gone already is no reason to fail).

#include <ocidl.h>

#include "com/com_ptr.h"

namespace qor::com {

class AdviseConnection {
 public:
  AdviseConnection() = default;
  // Throws ComError when the source has no point for `events` or refuses the sink.
  AdviseConnection(IUnknown& source, REFIID events, IUnknown& sink);
  // Empty on any failure.
  static AdviseConnection TryAdvise(IUnknown& source, REFIID events, IUnknown& sink) noexcept;
  ~AdviseConnection() { Unadvise(); }
  AdviseConnection(AdviseConnection&& other) noexcept;
  AdviseConnection& operator=(AdviseConnection&& other) noexcept;
  AdviseConnection(const AdviseConnection&) = delete;
  AdviseConnection& operator=(const AdviseConnection&) = delete;

  explicit operator bool() const noexcept { return cookie_ != 0; }
  void Unadvise() noexcept;

 private:
  HRESULT Advise(IUnknown& source, REFIID events, IUnknown& sink) noexcept;

  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace qor::com
