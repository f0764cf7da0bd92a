#include "framework/context_menu.h"

#include "framework/command_bar_items.h"
#include "framework/module_site.h"
#include "framework/outlook_context_menus.h"
#include "framework/xml_helper.h"

namespace qor::framework {

namespace {

// The host a context menu belongs to: the lowest supported one above Excel; Excel when that is
// MapPoint or there is none.
TadxOfficeHostApp MenuHost(TadxHostAppSet apps) noexcept {
  for (int host = ohaExcel + 1; host < kHostAppCount; ++host) {
    if (!apps.Contains(static_cast<TadxOfficeHostApp>(host))) continue;
    return host == ohaMapPoint ? ohaExcel : static_cast<TadxOfficeHostApp>(host);
  }
  return ohaExcel;
}

const wchar_t* DefaultMenuName(TadxOfficeHostApp host) noexcept {
  switch (host) {
    case ohaExcel: return L"Cell";
    case ohaWord: return L"Text";
    case ohaOutlook: return L"ItemContextMenu";
    case ohaPowerPoint: return L"ActiveX Control";
    case ohaAccess: return L"Actions";
    case ohaProject:
    case ohaPublisher:
    case ohaInfoPath: return L"System";
    case ohaFrontPage: return L"3-D Lighting";
    case ohaVisio: return L"Drawing Object Selected";
    case ohaMapPoint: break;
  }
  return nullptr;
}

// customUI attribute text: the writer takes values as they are.
std::wstring Escaped(const std::wstring& text) {
  std::wstring escaped;
  for (const wchar_t c : text) {
    switch (c) {
      case L'&': escaped += L"&amp;"; break;
      case L'<': escaped += L"&lt;"; break;
      case L'>': escaped += L"&gt;"; break;
      case L'"': escaped += L"&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

void WriteItems(const TadxCommandBarControls& items, TadxXMLHelper& writer, const std::wstring& onAction) {
  for (const auto& item : items) {
    if (!item->Visible()) continue;
    TadxXMLHelper::Attributes attributes = {{L"id", RibbonId(*item)}, {L"label", Escaped(item->Caption())}};
    if (!item->Enabled()) attributes.emplace_back(L"enabled", L"false");
    if (const TadxCommandBarPopup* popup = dynamic_cast<const TadxCommandBarPopup*>(item.get())) {
      writer.WriteStartElement(L"menu");
      writer.WriteAttributeString(attributes);
      WriteItems(popup->Controls(), writer, onAction);
      writer.WriteEndElement(L"menu");
    } else if (item->GetType() == adxButton) {
      if (item->BeginGroup())
        writer.WriteElementWithAttributeString(L"menuSeparator", {{L"id", RibbonId(*item) + L"_group"}});
      attributes.emplace_back(L"onAction", onAction);
      writer.WriteElementWithAttributeString(L"button", attributes);
    }
  }
}

TadxCommandBarControl* FindIn(const TadxCommandBarControls& items, const std::wstring& id) noexcept {
  for (const auto& item : items) {
    if (RibbonId(*item) == id) return item.get();
    if (TadxCommandBarPopup* popup = item->AsPopup())
      if (TadxCommandBarControl* found = FindIn(popup->Controls(), id)) return found;
  }
  return nullptr;
}

}  // namespace

std::wstring RibbonId(const TadxCommandBarControl& item) {
  std::wstring id = L"adxContextMenuItem_";
  for (const wchar_t c : item.OfficeTag())
    if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f')) id += c;
  return id;
}

TadxContextMenu::TadxContextMenu(ModuleSite* owner) : TadxCustomCommandBar(owner, "TadxContextMenu") {
  FTemporary = true;
  FUseForRibbon = true;
  SetSupportedApp(MenuHost(owner->SupportedApps()));
  // A default, not a declaration: the local name stays free for the declared one.
  if (const wchar_t* name = DefaultMenuName(FSupportedApp)) FCommandBarName = name;
}

void TadxContextMenu::SetSupportedApp(TadxOfficeHostApp host) {
  if (host == ohaMapPoint) return;
  FSupportedApp = host;
  FSupportedApps = {host};
}

void TadxContextMenu::SetSupportedApps(TadxHostAppSet apps) { SetSupportedApp(MenuHost(apps)); }

void TadxContextMenu::DoAddControls() {
  if (const auto handler = OnBeforeAddControls) Owner().Guarded([&] { handler(*this); });
}

// The declared name: the host name Outlook 2002 and 2003 translate it to leaves the local one.
const OutlookContextMenu* TadxContextMenu::KnownOutlookMenu() const noexcept {
  return ContextMenuByName(FCommandBarNameLocal.empty() ? FCommandBarName : FCommandBarNameLocal);
}

bool TadxContextMenu::HasRibbonMarkup() const noexcept {
  return FSupportedApp == ohaOutlook && KnownOutlookMenu() != nullptr && Controls().Count() > 0;
}

void TadxContextMenu::WriteRibbonMarkup(TadxXMLHelper& writer, const std::wstring& onAction) const {
  if (!HasRibbonMarkup()) return;
  writer.WriteStartElement(L"contextMenu");
  writer.WriteAttributeString(L"idMso", std::wstring(KnownOutlookMenu()->ribbonIdMso));
  WriteItems(Controls(), writer, onAction);
  writer.WriteEndElement(L"contextMenu");
}

TadxCommandBarControl* TadxContextMenu::FindByRibbonId(const std::wstring& id) noexcept {
  return FindIn(Controls(), id);
}

}  // namespace qor::framework
