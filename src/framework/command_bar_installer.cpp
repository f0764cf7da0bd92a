#include "framework/command_bar_installer.h"

#include <functional>

#include "com/boundary.h"
#include "com/utf.h"
#include "framework/adx_error.h"
#include "framework/command_bar_items.h"
#include "framework/command_bar_search.h"
#include "framework/context_menu.h"
#include "framework/module_site.h"
#include "framework/outlook_application.h"
#include "framework/outlook_context_menus.h"
#include "framework/registry.h"
#include "host/office/command_bars.h"
#include "host/office/office_ids.h"
#include "platform/ascii_case.h"

namespace qor::framework {

namespace {

using host::office::CommandBar;
using host::office::CommandBarControl;
using host::office::ControlType;
using host::office::FindControlArgs;

std::optional<ControlType> TypeCode(TadxControlType kind) noexcept {
  if (kind == adxControl) return std::nullopt;
  return static_cast<ControlType>(TMsoControls(kind));
}

// Runs a search; a result whose Type cannot be read is a control Office has dropped, so the
// search runs once more. Failures give nothing.
com::ComPtr<IDispatch> AliveResult(const std::function<std::optional<CommandBarControl>()>& search) noexcept {
  return com::PassingOver("CommandBarInstaller.AliveResult", com::ComPtr<IDispatch>(), [&]() -> com::ComPtr<IDispatch> {
    const std::optional<CommandBarControl> found = search();
    if (!found) return nullptr;
    const bool alive = com::PassingOver("CommandBarInstaller.AliveResult", false,
                                        [&] { return static_cast<int>(found->Type()) != 999; });
    if (alive) return found->Object();
    const std::optional<CommandBarControl> again = search();
    return again ? again->Object() : nullptr;
  });
}

bool DeclaresTag(const TadxCommandBarControls& items, const std::wstring& tag) noexcept {
  for (const auto& item : items) {
    if (item->OfficeTag() == tag) return true;
    if (const TadxCommandBarPopup* popup = item->AsPopup(); popup != nullptr && DeclaresTag(popup->Controls(), tag))
      return true;
  }
  return false;
}

[[noreturn]] void ThrowMapPoint() { throw AdxError("Cannot add a control to MS MapPoint.", kErrorMapPoint); }

}  // namespace

com::ComPtr<IDispatch> QueryDispatch(const com::ComPtr<IDispatch>& object, REFIID iid) noexcept {
  com::ComPtr<IDispatch> answered;
  if (object && SUCCEEDED(object->QueryInterface(iid, answered.PutVoid()))) return answered;
  return nullptr;
}

com::ComPtr<IDispatch> FindControlByTag(const com::ComPtr<IDispatch>& bar, TadxControlType kind,
                                        const std::wstring& tag) noexcept {
  if (!bar) return nullptr;
  return AliveResult([&] {
    return CommandBar(bar).FindControl(FindControlArgs{TypeCode(kind), std::nullopt, com::ToUtf8(tag)}, true);
  });
}

com::ComPtr<IDispatch> FindControlByTag(CommandBarInstaller& installer, TadxControlType kind,
                                        const std::wstring& tag) noexcept {
  const com::ComPtr<IDispatch> bars = installer.AppCommandBars();
  if (!bars) return nullptr;
  return AliveResult([&] {
    return host::office::CommandBars(bars).FindControl(FindControlArgs{TypeCode(kind), std::nullopt, com::ToUtf8(tag)});
  });
}

com::ComPtr<IDispatch> FindControlById(const com::ComPtr<IDispatch>& bar, TadxControlType kind, int id) noexcept {
  if (!bar) return nullptr;
  return AliveResult([&] { return CommandBar(bar).FindControl(FindControlArgs{TypeCode(kind), id}, true); });
}

com::ComPtr<IDispatch> FindControlById(CommandBarInstaller& installer, TadxControlType kind, int id) noexcept {
  const com::ComPtr<IDispatch> bars = installer.AppCommandBars();
  if (!bars) return nullptr;
  return AliveResult([&] { return host::office::CommandBars(bars).FindControl(FindControlArgs{TypeCode(kind), id}); });
}

std::optional<int> CalcBefore(int before, int beforeId, int afterId, const com::ComPtr<IDispatch>& bar) {
  if (before != 0) return before;
  if (beforeId == 0 && afterId == 0) return std::nullopt;
  const com::ComPtr<IDispatch> reference = FindControlById(bar, adxControl, beforeId != 0 ? beforeId : afterId);
  if (!reference) return std::nullopt;
  const int index = CommandBarControl(reference).Index();
  return beforeId != 0 ? index : index + 1;
}

// Outlook keeps command bars on each window, so the active window's serve; with no window open
// there are none.
com::ComPtr<IDispatch> CommandBarInstaller::GetAppCommandBars() {
  using Bars = com::ComPtr<IDispatch>;
  return com::PassingOver("CommandBarInstaller.GetAppCommandBars", Bars(), [&]() -> Bars {
    com::ComPtr<IDispatch> bars;
    switch (site_.HostType()) {
      case ohaOutlook: {
        if (site_.OutlookApp() == nullptr) return nullptr;
        com::Dispatch& app = site_.OutlookApp()->Application();
        const int inspectors = com::Dispatch(app.Get("Inspectors").ToDispatch()).Get("Count").ToInt();
        const int explorers = com::Dispatch(app.Get("Explorers").ToDispatch()).Get("Count").ToInt();
        if (inspectors <= 0 && explorers <= 0) return nullptr;
        const com::ComPtr<IDispatch> window = app.Call("ActiveWindow").ToDispatch();
        if (window) bars = com::Dispatch(window).Get("CommandBars").ToDispatch();
        break;
      }
      case ohaMapPoint: return nullptr;
      case ohaInfoPath: {
        com::Dispatch app(site_.HostApp());
        com::ComPtr<IDispatch> window = app.Get("ActiveWindow").ToDispatch();
        if (!window) {
          com::Dispatch windows(app.Get("Windows").ToDispatch());
          if (windows.Get("Count").ToInt() > 0) window = windows.Get("Item", 0).ToDispatch();
        }
        if (window) bars = com::Dispatch(window).Get("CommandBars").ToDispatch();
        break;
      }
      default: bars = com::Dispatch(site_.HostApp()).Get("CommandBars").ToDispatch();
    }
    return QueryDispatch(bars, __uuidof(host::office::ICommandBars));
  });
}

const com::ComPtr<IDispatch>& CommandBarInstaller::AppCommandBars() {
  if (!commandBars_) commandBars_ = GetAppCommandBars();
  return commandBars_;
}

com::ComPtr<IDispatch> CommandBarInstaller::FindCommandBar(const std::wstring& name) {
  const com::ComPtr<IDispatch> bars = AppCommandBars();
  if (!bars) return nullptr;
  using Bars = com::ComPtr<IDispatch>;
  return com::PassingOver("CommandBarInstaller.FindCommandBar", Bars(), [&]() -> Bars {
    const host::office::CommandBars collection(bars);
    if (fastCommandBarSearch_) return collection.Item(com::ToUtf8(name)).Object();
    const int count = collection.Count();
    for (int i = 1; i <= count; ++i) {
      const CommandBar bar = collection.Item(i);
      if (platform::EqualsIgnoringAsciiCase(com::ToUtf16(bar.Name()), name) ||
          platform::EqualsIgnoringAsciiCase(com::ToUtf16(bar.NameLocal()), name))
        return bar.Object();
    }
    return nullptr;
  });
}

void CommandBarInstaller::Install() {
  for (TadxCustomCommandBar* bar : std::vector(commandBarList_)) {
    if (bar->IsContextMenu() && site_.HostType() == ohaOutlook &&
        static_cast<TadxContextMenu*>(bar)->SupportedApp() == ohaOutlook) {
      // Outlook 2002 and 2003 show context menus as command bars under their own names; the
      // entries are created when Outlook is about to show the menu.
      if (site_.IsRibbon()) continue;
      if (const OutlookContextMenu* known = ContextMenuByName(bar->CommandBarName());
          known != nullptr && !known->hostBarName.empty())
        bar->TranslateCommandBarName(std::wstring(known->hostBarName));
      continue;
    }
    if (bar->SupportedApps().Contains(site_.HostType())) InternalAddCmdBar(*bar);
  }
  for (TadxBuiltInControl* control : std::vector(builtInControls_)) InternalAddBuiltInControl(*control);
}

void CommandBarInstaller::InternalAddCmdBar(TadxCustomCommandBar& bar) {
  if (site_.HostType() == ohaMapPoint) ThrowMapPoint();
  if (site_.HostType() == ohaOutlook && bar.CommandBarName().find(L'\'') != std::wstring::npos)
    throw AdxError("Illegal character in the " + com::ToUtf8(bar.CommandBarName()) + " commandbar name.",
                   kErrorCommandBarName);
  if (!bar.SupportedApps().Contains(site_.HostType()) || !(bar.UseForRibbon() || !site_.IsRibbon())) return;
  site_.Guarded([&] {
    bar.SetInterface(FindCommandBar(bar.CommandBarName()));
    bar.DoAddControls();
    if (!bar.DefaultInterface()) {
      const com::ComPtr<IDispatch> bars = AppCommandBars();
      if (!bars) return;
      const CommandBar created = host::office::CommandBars(bars).Add(com::ToUtf8(bar.CommandBarName()),
                                                       static_cast<int>(bar.Position()), bar.Temporary());
      bar.SetInterface(created.Object());
      bar.SetCommandBarNameLocal(com::ToUtf16(created.Name()));
    }
    if (!bar.BuiltIn()) bar.SetProperties();
  });
  CheckHungControls(bar);
  if (!bar.DefaultInterface()) return;
  for (const auto& item : bar.Controls()) InternalAddControl(*item, bar, nullptr);
}

// A persistent item that is missing although its last push is on record was deleted by the user.
bool CommandBarInstaller::DeletedByUser(const TadxCommandBarControl& item) {
  if (item.Temporary()) return false;
  Registry counters(HKEY_CURRENT_USER);
  if (!counters.OpenKeyReadOnly(site_.GetRegistryKey() + L"\\Controls")) return false;
  const std::optional<std::uint32_t> stored = counters.ReadInteger(item.OfficeTag());
  return stored.has_value() && *stored == item.PropertyChanged();
}

void CommandBarInstaller::InternalAddControl(TadxCommandBarControl& item, TadxCustomCommandBar& bar,
                                             TadxCommandBarPopup* popup) {
  if (site_.HostType() == ohaMapPoint) ThrowMapPoint();
  if (!bar.DefaultInterface()) return;
  site_.Guarded([&] {
    const com::ComPtr<IDispatch> target =
        popup != nullptr ? host::office::CommandBarPopup(popup->PopupInterface()).CommandBar().Object()
                         : bar.DefaultInterface();
    const auto add = [&](std::optional<ControlType> type, std::optional<int> id) {
      return CommandBar(target)
          .Controls()
          .Add({type, id, com::ToUtf8(item.Parameter()),
                CalcBefore(item.Before(), item.BeforeID(), item.AfterID(), target), item.Temporary()})
          .Object();
    };
    const TadxControlType kind = item.GetType();
    const bool custom = item.OfficeID() == 1;
    com::ComPtr<IDispatch> found;
    switch (kind) {
      case adxButton:
      case adxEdit:
      case adxDropdown:
      case adxComboBox: {
        found = custom ? FindControlByTag(*this, kind, item.OfficeTag())
                       : FindControlByTag(bar.DefaultInterface(), kind, item.OfficeTag());
        if (!found) {
          if (site_.HostType() != ohaAccess && DeletedByUser(item)) return;
          found = add(TypeCode(kind), item.OfficeID());
        }
        item.SetInterface(found);
        if (TadxCommandBarButton* button = item.AsButton()) {
          const std::wstring action = L"!<" + site_.ProgID() + L">";
          // Some hosts refuse OnAction on built-in controls; the click still reaches the sink.
          com::PassingOver("CommandBarInstaller.InternalAddControl", [&] {
            if (!custom)
              CommandBarControl(found).SetOnAction(com::ToUtf8(button->DisableStandardAction ? action : L""));
            else if (!item.Temporary() && site_.LoadBehavior() == 16)
              CommandBarControl(found).SetOnAction(com::ToUtf8(action));
          });
        }
        item.SetProperties();
        return;
      }
      case adxPopup: {
        TadxCommandBarPopup& self = *item.AsPopup();
        if (custom) {
          found = FindControlByTag(*this, adxPopup, item.OfficeTag());
          if (!found) {
            if (DeletedByUser(item)) return;
            found = add(ControlType::Popup, std::nullopt);
          }
        } else {
          found = FindControlById(bar.DefaultInterface(), adxPopup, item.OfficeID());
        }
        if (!found) return;
        self.SetInterface(found);
        if (custom) self.SetProperties();
        for (const auto& child : self.Controls()) InternalAddControl(*child, bar, &self);
        return;
      }
      case adxControl: {
        if (custom) return;
        found = AliveResult([&] {
          return CommandBar(bar.DefaultInterface())
              .FindControl(FindControlArgs{std::nullopt, item.OfficeID(), com::ToUtf8(item.OfficeTag())}, true);
        });
        if (!found) {
          if (DeletedByUser(item)) return;
          found = add(std::nullopt, item.OfficeID());
        }
        item.SetInterface(found);
        item.SetProperties();
        return;
      }
      case adxAdvancedControl: return;  // no host adapter is registered
    }
  });
}

// Binds a built-in-control component to the first visible button or combo box of its id.
void CommandBarInstaller::InternalAddBuiltInControl(TadxBuiltInControl& control) {
  if (site_.HostType() == ohaInfoPath) return;
  const bool wanted = !site_.IsRibbon() || (site_.HostType() == ohaOutlook && site_.HostMajorVersion() == 12) ||
                      (control.CommandBar != nullptr && control.CommandBar->UseForRibbon());
  if (!wanted || control.BuiltInID == 1) return;
  // A host without FindControls, or a control gone meanwhile: nothing to intercept.
  com::PassingOver("CommandBarInstaller.InternalAddBuiltInControl", [&] {
    const com::ComPtr<IDispatch> bars = AppCommandBars();
    if (!bars) return;
    com::Dispatch found(com::Dispatch(bars)
                                  .Call("FindControls", com::VariantOptional(), control.BuiltInID,
                                        com::VariantOptional(), com::VariantOptional())
                                  .ToDispatch());
    const int count = found.Object() ? found.Get("Count").ToInt() : 0;
    for (int i = 1; i <= count; ++i) {
      const CommandBarControl candidate(found.Get("Item", i).ToDispatch());
      const int type = static_cast<int>(candidate.Type());
      if ((type == 1 || type == 4) && candidate.Visible()) {
        control.SetInterface(candidate.Object());
        return;
      }
    }
  });
}

void CommandBarInstaller::ConnectBuiltinControls() {
  for (TadxBuiltInControl* control : std::vector(builtInControls_)) InternalAddBuiltInControl(*control);
}

void CommandBarInstaller::DisconnectBuiltinControls() noexcept {
  for (TadxBuiltInControl* control : builtInControls_) {
    com::PassingOver("CommandBarInstaller.DisconnectBuiltinControls", [&] { control->SetInterface(nullptr); });
  }
}

void CommandBarInstaller::CheckHungControls(TadxCustomCommandBar& bar) {
  Registry counters(HKEY_CURRENT_USER);
  if (!counters.OpenKey(site_.GetRegistryKey() + L"\\Controls", false)) return;
  for (const std::wstring& tag : counters.ValueNames()) {
    const bool declared =
        std::any_of(commandBarList_.begin(), commandBarList_.end(),
                    [&](const TadxCustomCommandBar* each) { return DeclaresTag(each->Controls(), tag); });
    if (declared) continue;
    site_.Guarded([&] {
      const std::string utf8 = com::ToUtf8(tag);
      std::optional<CommandBarControl> found;
      if (bar.DefaultInterface())
        found = CommandBar(bar.DefaultInterface()).FindControl(FindControlArgs{std::nullopt, std::nullopt, utf8}, true);
      if (!found && AppCommandBars())
        found =
            host::office::CommandBars(AppCommandBars()).FindControl(FindControlArgs{std::nullopt, std::nullopt, utf8});
      if (!found) return;
      found->Delete(false);
      counters.DeleteValue(tag);
    });
  }
}

void CommandBarInstaller::UninstallCommandBars() {
  DisconnectBuiltinControls();
  for (TadxCustomCommandBar* bar : std::vector(commandBarList_))
    if (bar->SupportedApps().Contains(site_.HostType())) site_.Guarded([&] { bar->Uninstall(); });
}

void CommandBarInstaller::ReconnectWindowBars(bool explorer) {
  if (!explorer) return;  // the module declares no inspector bars
  for (TadxCustomCommandBar* bar : std::vector(commandBarList_)) {
    if (!bar->SupportedApps().Contains(site_.HostType())) continue;
    site_.Guarded([&] {
      if (FindCommandBar(bar->CommandBarName()))
        bar->ReconnectControls();
      else if (!bar->IsContextMenu())
        InternalAddCmdBar(*bar);
    });
  }
  for (TadxBuiltInControl* control : std::vector(builtInControls_)) {
    const bool onOutlookMenu = control->CommandBar != nullptr && control->CommandBar->IsContextMenu() &&
                               site_.HostType() == ohaOutlook && !site_.IsRibbon();
    if (!onOutlookMenu) InternalAddBuiltInControl(*control);
  }
}

void CommandBarInstaller::DoCommandBarsUpdate() {
  if (site_.HostType() != ohaOutlook) return;
  if (!site_.IsRibbon()) {
    for (TadxCustomCommandBar* bar : std::vector(commandBarList_))
      if (bar->IsContextMenu() && bar->SupportedApps().Contains(ohaOutlook))
        site_.Guarded([&] { bar->ReconnectControls(); });
  }
  ConnectBuiltinControls();
}

void CommandBarInstaller::DoContextMenuDisplay(DISPID displayEvent, IDispatch* commandBar) {
  const OutlookContextMenu* shown = ContextMenuByDisplayEvent(displayEvent);
  if (shown == nullptr) return;
  com::ComPtr<IDispatch> held;
  held.CopyFrom(commandBar);
  for (TadxCustomCommandBar* bar : std::vector(commandBarList_)) {
    if (!bar->IsContextMenu() || !bar->SupportedApps().Contains(ohaOutlook) ||
        bar->CommandBarName() != shown->commandBarName)
      continue;
    // Outlook 2010 and later show only what customUI declares on their context menus: entries
    // served there are not built again on the command bar nobody sees.
    if (site_.HostMajorVersion() >= 14 && static_cast<TadxContextMenu*>(bar)->HasRibbonMarkup()) continue;
    site_.Guarded([&] {
      bar->SetInterface(QueryDispatch(held, __uuidof(host::office::ICommandBar)));
      bar->ReconnectControls();
    });
  }
  ConnectBuiltinControls();
}

void CommandBarInstaller::DoContextMenuClose(int closeCode) {
  const OutlookContextMenu* closed = ContextMenuByCloseCode(closeCode);
  if (closed == nullptr) return;
  for (TadxCustomCommandBar* bar : commandBarList_) {
    if (!bar->IsContextMenu() || !bar->SupportedApps().Contains(ohaOutlook) ||
        bar->CommandBarName() != closed->commandBarName)
      continue;
    bar->SetInterface(nullptr);
    UnbindControls(bar->Controls());
  }
  DisconnectBuiltinControls();
}

void TadxCustomCommandBar::ReconnectControls() {
  ModuleSite& module = *FOwner;
  CommandBarInstaller& installer = module.Installer();
  if (!FUseForRibbon && module.IsRibbon()) return;
  int oldProtection = 0;
  if (IsContextMenu() && module.HostType() == ohaOutlook) {
    if (!module.IsRibbon()) SetInterface(installer.FindCommandBar(FCommandBarName));
    if (!FInterface) return;
    module.Guarded([&] {
      const CommandBar host(FInterface);
      oldProtection = host.Protection();
      if (oldProtection != 0) host.SetProtection(0);
    });
    UnbindControls(FControls);
    DoAddControls();
  } else {
    SetInterface(installer.FindCommandBar(FCommandBarName));
    if (!FInterface) return;
  }
  for (const auto& item : FControls) {
    module.Guarded([&] {
      const TadxControlType kind = item->GetType();
      com::ComPtr<IDispatch> found = FindControlByTag(FInterface, kind, item->OfficeTag());
      if (!found) found = FindControlByTag(installer, kind, item->OfficeTag());
      if (!found) {
        // A control created now is bound by its creation.
        installer.InternalAddControl(*item, *this, nullptr);
        found = item->DefaultInterface();
        if (!found) found = FindControlByTag(installer, kind, item->OfficeTag());
      }
      if (!found && item->OfficeID() != 1) found = FindControlById(installer, kind, item->OfficeID());
      if (kind == adxAdvancedControl) return;
      item->SetInterface(found);
      if (TadxCommandBarPopup* popup = item->AsPopup(); popup != nullptr && found) popup->ReconnectControls();
    });
  }
  if (oldProtection != 0) module.Guarded([&] { CommandBar(FInterface).SetProtection(oldProtection); });
}

void TadxCommandBarPopup::ReconnectControls() {
  ModuleSite& module = Module();
  CommandBarInstaller& installer = module.Installer();
  const com::ComPtr<IDispatch>& bar = CommandBar().DefaultInterface();
  for (const auto& child : FControls) {
    module.Guarded([&] {
      const TadxControlType kind = child->GetType();
      const bool custom = child->OfficeID() == 1;
      com::ComPtr<IDispatch> found = FindControlByTag(bar, kind, child->OfficeTag());
      if (!found) found = FindControlByTag(installer, kind, child->OfficeTag());
      if (!found && !custom) found = FindControlById(installer, kind, child->OfficeID());
      if (!found) {
        installer.InternalAddControl(*child, CommandBar(), this);
        found = child->DefaultInterface();
      }
      if (kind == adxPopup && !custom) {
        found = FindControlById(bar, adxPopup, child->OfficeID());
        if (!found) found = FindControlById(installer, adxPopup, child->OfficeID());
      }
      child->SetInterface(found);
      if (TadxCommandBarPopup* popup = child->AsPopup(); popup != nullptr && found) popup->ReconnectControls();
    });
  }
}

void TadxCustomCommandBar::Uninstall() {
  ModuleSite& module = *FOwner;
  CommandBarInstaller& installer = module.Installer();
  SetInterface(installer.FindCommandBar(FCommandBarName));
  for (auto item = FControls.end(); item != FControls.begin();) {
    TadxCommandBarControl& control = **--item;
    module.Guarded([&] {
      const TadxControlType kind = control.GetType();
      com::ComPtr<IDispatch> found;
      if (kind == adxControl) {
        found = AliveResult([&] {
          return FInterface ? CommandBar(FInterface)
                                  .FindControl(FindControlArgs{std::nullopt, control.OfficeID(),
                                                               com::ToUtf8(control.OfficeTag())},
                                               true)
                            : std::nullopt;
        });
      } else if (kind == adxPopup && control.OfficeID() != 1) {
        found = FindControlById(FInterface, adxPopup, control.OfficeID());
        if (!found) found = FindControlById(installer, adxPopup, control.OfficeID());
      } else {
        found = FindControlByTag(FInterface, kind, control.OfficeTag());
        if (!found) found = FindControlByTag(installer, kind, control.OfficeTag());
      }
      control.SetInterface(found);
      if (found) control.Delete(false);
    });
  }
  module.Guarded([&] { Delete(); });
}

}  // namespace qor::framework
