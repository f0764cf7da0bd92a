#pragma once

// TadxOutlook2007Application: Outlook 2007 and later announce their context menus through the
// application's events (ApplicationEvents_11): a display event with the menu's command bar before
// it shows, ContextMenuClose after. The module builds and drops its menu entries on them.

#include "framework/custom_events.h"

namespace qor::framework {

class TadxOutlook2007Application final : public TadxCustomEvents {
 public:
  explicit TadxOutlook2007Application(ModuleSite* owner);
  ~TadxOutlook2007Application() override;

  // Asks `application` for Outlook's _Application and listens to its events.
  void ConnectTo(IDispatch& application) override;
  void Disconnect() noexcept override;
  void InvokeEvent(DISPID id, std::vector<com::Variant>& params) override;

 private:
  com::ComPtr<IDispatch> FIntf;
};

}  // namespace qor::framework
