#pragma once

// Outlook's explorers and inspectors as the add-in follows them: one wrapper per window listening
// to its events, the collections' NewExplorer and NewInspector, and the command-bars update sink
// on the active explorer. An activation points the installer's CommandBars at that window and lets
// it reconnect the module's bars there.

#include <oaidl.h>

#include <memory>

namespace qor::framework {

class TadxCOMAddInModule;

class OutlookWindowTracking {
 public:
  explicit OutlookWindowTracking(TadxCOMAddInModule& module);
  // Disconnects the update sink and every wrapper.
  ~OutlookWindowTracking();
  OutlookWindowTracking(const OutlookWindowTracking&) = delete;
  OutlookWindowTracking& operator=(const OutlookWindowTracking&) = delete;

  // Tracks the open explorers (activating each) and the active inspector, and listens for new ones.
  void Start();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace qor::framework
