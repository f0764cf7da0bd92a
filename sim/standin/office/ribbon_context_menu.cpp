#include "standin/office/ribbon_context_menu.h"

#include <array>
#include <stdexcept>

#include "com/com_error.h"
#include "com/dispatch_call.h"
#include "standin/office/custom_ui_xml.h"
#include "standin/office/ribbon_control_object.h"

namespace qor::standin::office {
namespace {

constexpr std::string_view kOffice2010Namespace = "http://schemas.microsoft.com/office/2009/07/customui";

// Only the children in the root's namespace count; in practice they share its prefix.
const XmlElement* Child(const XmlElement& parent, std::string_view localName, std::string_view prefix) {
  for (const auto& child : parent.children)
    if (child.LocalName() == localName && child.Prefix() == prefix) return &child;
  return nullptr;
}

std::string AttributeOr(const XmlElement& element, std::string_view name, std::string fallback = {}) {
  const std::string* value = element.Attribute(name);
  return value == nullptr ? std::move(fallback) : *value;
}

bool IsFalse(const XmlElement& element, std::string_view name) {
  const std::string* value = element.Attribute(name);
  return value != nullptr && (*value == "false" || *value == "0");
}

}  // namespace

struct RibbonContextMenu::Item {
  std::string owner;
  com::ComPtr<IDispatch> callbacks;
  std::string id, label, tag, onAction;
  bool enabled = true;
  bool submenu = false;
  std::vector<Item> items;

  static void Read(const XmlElement& parent, std::string_view prefix, const CustomUi& from, std::vector<Item>& into) {
    for (const auto& element : parent.children) {
      const std::string_view kind = element.LocalName();
      if (element.Prefix() != prefix || (kind != "button" && kind != "menu")) continue;
      if (element.Attribute("idMso") != nullptr || IsFalse(element, "visible")) continue;
      Item item{from.owner,
                from.callbacks,
                AttributeOr(element, "id", AttributeOr(element, "idQ")),
                {},
                AttributeOr(element, "tag"),
                AttributeOr(element, "onAction"),
                !IsFalse(element, "enabled"),
                kind == "menu",
                {}};
      item.label = AttributeOr(element, "label", item.id);
      if (item.submenu) Read(element, prefix, from, item.items);
      into.push_back(std::move(item));
    }
  }

  void List(std::vector<std::string> path, std::vector<MenuEntry>& into) const {
    path.push_back(label);
    into.push_back({path, enabled, submenu});
    for (const auto& child : items) child.List(path, into);
  }
};

RibbonContextMenu::RibbonContextMenu(const std::vector<CustomUi>& documents, std::string_view idMso) {
  for (const auto& customUi : documents) {
    try {
      const XmlElement root = ParseXml(customUi.document);
      const std::string_view prefix = root.Prefix();
      if (root.LocalName() != "customUI" || root.OwnNamespace() != kOffice2010Namespace) continue;
      const XmlElement* menus = Child(root, "contextMenus", prefix);
      if (menus == nullptr) continue;
      for (const auto& menu : menus->children)
        if (menu.LocalName() == "contextMenu" && menu.Prefix() == prefix && AttributeOr(menu, "idMso") == idMso)
          Item::Read(menu, prefix, customUi, items_);
    } catch (const std::invalid_argument&) {
      // Office ignores a document it cannot read.
    }
  }
}

RibbonContextMenu::RibbonContextMenu(RibbonContextMenu&&) noexcept = default;
RibbonContextMenu& RibbonContextMenu::operator=(RibbonContextMenu&&) noexcept = default;
RibbonContextMenu::~RibbonContextMenu() = default;

std::vector<MenuEntry> RibbonContextMenu::Entries() const {
  std::vector<MenuEntry> entries;
  for (const auto& item : items_) item.List({}, entries);
  return entries;
}

std::optional<RibbonAction> RibbonContextMenu::Choose(const std::vector<std::string>& path,
                                                      const com::ComPtr<IDispatch>& context) {
  const std::vector<Item>* level = &items_;
  const Item* chosen = nullptr;
  for (const auto& caption : path) {
    chosen = nullptr;
    for (const auto& item : *level)
      if (item.label == caption) {
        chosen = &item;
        break;
      }
    if (chosen == nullptr) break;
    level = &chosen->items;
  }
  if (chosen == nullptr || path.empty()) throw std::invalid_argument("the menu has no such entry");
  if (chosen->submenu) throw std::invalid_argument("the entry opens a submenu");
  if (!chosen->enabled || chosen->onAction.empty()) return std::nullopt;

  RibbonAction action{chosen->owner, chosen->onAction, S_OK};
  try {
    com::Dispatch addin(chosen->callbacks);
    const std::array<com::Variant, 1> args{
        com::Variant(com::ComPtr<IDispatch>(com::Make<RibbonControlObject>(chosen->id, context, chosen->tag)))};
    addin.Invoke(addin.IdOf(chosen->onAction), DISPATCH_METHOD, args);
  } catch (const com::ComError& error) {
    action.result = error.Code();
  }
  return action;
}

}  // namespace qor::standin::office
