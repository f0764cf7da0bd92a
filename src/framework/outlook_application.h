#pragma once

// Wrappers of Outlook's Application and "MAPI" NameSpace that deliver their events to C++
// handlers. Whoever hooks an event keeps the handler installed before and calls it first.

#include <oaidl.h>

#include <functional>

#include "com/dispatch_call.h"
#include "framework/event_connection.h"
#include "host/automation/outlook_ids.h"

namespace qor::framework {

class OutlookApplication {
 public:
  // Listens to ApplicationEvents_11, or to ApplicationEvents where Outlook has no other (2000, 2002).
  explicit OutlookApplication(com::ComPtr<IDispatch> application);

  com::Dispatch& Application() noexcept { return application_; }
  std::wstring Version();

  std::function<void()> OnQuit;
  std::function<void(IDispatch* pages)> OnOptionsPagesAdd;

 private:
  com::Dispatch application_;
  EventConnection events_;
};

class OutlookNameSpace {
 public:
  explicit OutlookNameSpace(com::ComPtr<IDispatch> nameSpace);

  std::function<void(IDispatch* pages, IDispatch* folder)> OnOptionsPagesAdd;

 private:
  EventConnection events_;
};

}  // namespace qor::framework
