#include "framework/outlook2007_application.h"

#include "framework/command_bar_installer.h"
#include "framework/module_site.h"
#include "framework/outlook_context_menus.h"
#include "host/automation/outlook_ids.h"

namespace qor::framework {

namespace {

namespace ids = host::outlook_ids;

TServerData serverData{ids::kApplicationEvents11};

// A display event's first argument is the menu's command bar; anything else counts as none.
com::ComPtr<IDispatch> CommandBarArgument(const std::vector<com::Variant>& params) {
  if (params.empty()) return nullptr;
  const VARTYPE type = params[0].Type() & VT_TYPEMASK;
  return type == VT_DISPATCH || type == VT_UNKNOWN ? params[0].ToDispatch() : nullptr;
}

}  // namespace

TadxOutlook2007Application::TadxOutlook2007Application(ModuleSite* owner) : TadxCustomEvents(owner) {
  InitServerData(serverData);
}

TadxOutlook2007Application::~TadxOutlook2007Application() { Disconnect(); }

void TadxOutlook2007Application::ConnectTo(IDispatch& application) {
  Disconnect();
  com::ComPtr<IDispatch> outlook;
  if (FAILED(application.QueryInterface(ids::kApplication, outlook.PutVoid())) || !outlook) return;
  FIntf = std::move(outlook);
  ConnectEvents(*FIntf.Get());
}

void TadxOutlook2007Application::Disconnect() noexcept {
  DisconnectEvents();
  FIntf.Reset();
}

void TadxOutlook2007Application::InvokeEvent(DISPID id, std::vector<com::Variant>& params) {
  if (ContextMenuByDisplayEvent(id) != nullptr) {
    Owner().Installer().DoContextMenuDisplay(id, CommandBarArgument(params).Get());
  } else if (id == ids::dispid::kContextMenuClose) {
    if (params.empty()) throw com::ComError(DISP_E_BADPARAMCOUNT);
    Owner().Installer().DoContextMenuClose(params[0].ToInt());
  }
}

}  // namespace qor::framework
