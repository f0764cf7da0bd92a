#pragma once

// What an explorer and an inspector share as windows of the session: the link back to it, and the
// closed state after which every member fails with Outlook's message.

#include <oaidl.h>

#include <memory>

#include "com/com_ptr.h"

namespace qor::standin {

class OutlookSession;

class OutlookWindow {
 public:
  virtual com::ComPtr<IDispatch> WindowObject() = 0;
  virtual bool IsExplorer() const noexcept = 0;
  // Raises one of the window's argument-less events (Activate, Deactivate, Close, ...).
  virtual void RaiseWindowEvent(DISPID id) = 0;

  // After Close: every member fails from now on.
  void MarkClosed() noexcept { closed_ = true; }
  bool IsClosed() const noexcept { return closed_; }

 protected:
  // `closedMessage` is Outlook's answer to a call on the window after its Close.
  OutlookWindow(std::weak_ptr<OutlookSession> session, const char* closedMessage) noexcept
      : session_(std::move(session)), closedMessage_(closedMessage) {}
  ~OutlookWindow() = default;

  // Throws Outlook's error once the window is closed.
  void CheckOpen() const;
  // Throws when the session has gone (Outlook quit).
  std::shared_ptr<OutlookSession> Session() const;

 private:
  std::weak_ptr<OutlookSession> session_;
  const char* closedMessage_;
  bool closed_ = false;
};

inline constexpr const char* kExplorerClosed =
    "The Explorer has been closed and cannot be used for further operations. Review your code and restart Outlook.";
inline constexpr const char* kInspectorClosed =
    "The Inspector has been closed and cannot be used for further operations. Review your code and restart Outlook.";

}  // namespace qor::standin
