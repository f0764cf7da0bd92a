#pragma once

// TadxContextMenu: the add-in's entries on one of the host's right-click menus. In Outlook the
// entries are not installed at start-up: they are created each time Outlook reports the menu is
// about to show (an OnUpdate of the explorer's bars in 2002 and 2003, a display event from 2007
// on) and unbound when it closes. Outlook 2010 and later show only what customUI declares on
// their context menus, so the menu also yields its entries as a customUI context-menu extension.

#include <functional>
#include <string>

#include "framework/command_bar_model.h"

namespace qor::framework {

class TadxCommandBarControl;
class TadxXMLHelper;
struct OutlookContextMenu;

class TadxContextMenu final : public TadxCustomCommandBar {
 public:
  // The menu's host is the module's lowest supported host above Excel (Excel when that is
  // MapPoint or there is none); its default name is that host's usual item menu.
  explicit TadxContextMenu(ModuleSite* owner);

  const char* ClassName() const noexcept override { return "TadxContextMenu"; }
  bool IsContextMenu() const noexcept override { return true; }

  TadxOfficeHostApp SupportedApp() const noexcept { return FSupportedApp; }
  // MapPoint is ignored; any other host becomes the only supported one.
  void SetSupportedApp(TadxOfficeHostApp host);
  void SetSupportedApps(TadxHostAppSet apps) override;

  std::function<void(TadxContextMenu& sender)> OnBeforeAddControls;

  // Whether Outlook 2010 and later build this menu from customUI and it has entries.
  bool HasRibbonMarkup() const noexcept;
  // Outlook 2010 and later: `<contextMenu idMso="...">` with the menu's visible entries, written
  // into `writer`; nothing for a menu Outlook's customUI does not know. Buttons call back
  // `onAction`; their ids are RibbonId().
  void WriteRibbonMarkup(TadxXMLHelper& writer, const std::wstring& onAction) const;
  // The item whose customUI id is `id`, searched through popups; null when none.
  TadxCommandBarControl* FindByRibbonId(const std::wstring& id) noexcept;

 protected:
  // Raises OnBeforeAddControls; a handler's error goes to DoError.
  void DoAddControls() override;

 private:
  const OutlookContextMenu* KnownOutlookMenu() const noexcept;

  TadxOfficeHostApp FSupportedApp = ohaExcel;
};

// The customUI id of an item: its OfficeTag's hexadecimal digits behind a fixed prefix.
std::wstring RibbonId(const TadxCommandBarControl& item);

}  // namespace qor::framework
