#pragma once

// Wrappers of Outlook's Application and "MAPI" NameSpace that deliver their events to C++
// handlers. Whoever hooks an event keeps the handler installed before and calls it first.

#include <oaidl.h>

#include <functional>

#include "com/dispatch_call.h"
#include "framework/event_connection.h"

namespace qor::framework {

namespace outlook_ids {
constexpr IID OutlookIid(unsigned long first) { return {first, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}; }
inline constexpr IID kApplication = OutlookIid(0x00063001);
inline constexpr IID kApplicationEvents = OutlookIid(0x0006304E);
inline constexpr IID kApplicationEvents11 = OutlookIid(0x0006302C);
inline constexpr IID kNameSpaceEvents = OutlookIid(0x0006308B);
inline constexpr IID kPropertyPages = OutlookIid(0x00063080);
inline constexpr DISPID kOptionsPagesAdd = 0xF005;
inline constexpr DISPID kQuit = 0xF007;
inline constexpr DISPID kNameSpaceOptionsPagesAdd = 0xF005;
}  // namespace outlook_ids

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
