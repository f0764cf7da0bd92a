#pragma once

// What the session needs of an explorer or inspector to manage it as a window.

#include <oaidl.h>

#include "com/com_ptr.h"

namespace qor::standin {

class OutlookWindow {
 public:
  virtual com::ComPtr<IDispatch> WindowObject() = 0;
  virtual bool IsExplorer() const noexcept = 0;
  // Raises one of the window's argument-less events (Activate, Deactivate, Close, ...).
  virtual void RaiseWindowEvent(DISPID id) = 0;
  // After Close: every member fails from now on.
  virtual void MarkClosed() noexcept = 0;
  virtual bool IsClosed() const noexcept = 0;

 protected:
  ~OutlookWindow() = default;
};

// Outlook's answer to a call on a window after its Close.
inline constexpr const char* kExplorerClosed =
    "The Explorer has been closed and cannot be used for further operations. Review your code and restart Outlook.";
inline constexpr const char* kInspectorClosed =
    "The Inspector has been closed and cannot be used for further operations. Review your code and restart Outlook.";

}  // namespace qor::standin
