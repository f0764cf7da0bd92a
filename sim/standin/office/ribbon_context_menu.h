#pragma once

// A context menu of Office 2010 and later: the entries every add-in's customUI document adds to a
// built-in context menu (contextMenus/contextMenu idMso=...), and the onAction call-back a chosen
// entry calls on its add-in with an IRibbonControl.

#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "com/com_ptr.h"
#include "standin/office/shown_menu.h"

namespace qor::standin::office {

// One add-in's answer to GetCustomUI, and the object its call-backs are called on.
struct CustomUi {
  std::string owner;  // who gave it, as the host names the add-in
  com::ComPtr<IDispatch> callbacks;
  std::string document;
};

// A call-back a chosen entry made, and how it ended.
struct RibbonAction {
  std::string owner;
  std::string callback;
  HRESULT result = S_OK;
};

class RibbonContextMenu {
 public:
  // The entries of the context menu `idMso` in `documents`, in their order. A document that is not
  // well-formed, or not in Office 2010's customUI namespace, adds nothing, as Office loads no part
  // of it; so do entries declared invisible and built-in (idMso) ones.
  RibbonContextMenu(const std::vector<CustomUi>& documents, std::string_view idMso);
  RibbonContextMenu(RibbonContextMenu&&) noexcept;
  RibbonContextMenu& operator=(RibbonContextMenu&&) noexcept;
  ~RibbonContextMenu();

  std::vector<MenuEntry> Entries() const;
  // The entry at `path`'s onAction, called with an IRibbonControl whose Context is `context`.
  // Nothing for a disabled entry or one without onAction. Throws std::invalid_argument when no
  // entry is at `path` or it opens a submenu.
  std::optional<RibbonAction> Choose(const std::vector<std::string>& path, const com::ComPtr<IDispatch>& context);

 private:
  struct Item;
  std::vector<Item> items_;
};

}  // namespace qor::standin::office
