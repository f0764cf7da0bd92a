#include "standin/outlook/shown_context_menu.h"

#include <algorithm>
#include <stdexcept>

#include "standin/office/built_in_bars.h"
#include "standin/office/command_bars_standin.h"
#include "standin/outlook/application_object.h"

namespace qor::standin {
namespace {

constexpr int kDisplayEventVersion = 12;
constexpr int kRibbonMenuVersion = 14;

struct MenuKind {
  ContextMenu kind;
  const char* barName;  // the bar of Outlook 2007's display event, and before that the explorer's
  bool explorerBar;     // Outlook 2002 and 2003 (for folders also 2000) have it among the explorer's bars
  DISPID displayEvent;
  const char* idMso;
};

const MenuKind& KindOf(ContextMenu kind) {
  static const MenuKind kinds[] = {
      {ContextMenu::Item, "Context Menu", true, ids::dispid::kItemContextMenuDisplay, "ContextMenuMailItem"},
      {ContextMenu::View, "View Context Menu", false, ids::dispid::kViewContextMenuDisplay, "ContextMenuTableView"},
      {ContextMenu::Folder, "Folder Context Menu", true, ids::dispid::kFolderContextMenuDisplay, "ContextMenuFolder"},
      {ContextMenu::Attachment, "Attachment Context Menu", false, ids::dispid::kAttachmentContextMenuDisplay,
       "ContextMenuAttachments"},
      {ContextMenu::Store, "Store Context Menu", false, ids::dispid::kStoreContextMenuDisplay, "ContextMenuStore"},
      {ContextMenu::Shortcut, "Shortcut Context Menu", false, ids::dispid::kShortcutContextMenuDisplay,
       "ContextMenuShortcut"},
  };
  const auto found =
      std::find_if(std::begin(kinds), std::end(kinds), [&](const MenuKind& each) { return each.kind == kind; });
  if (found == std::end(kinds)) throw std::invalid_argument("unknown context menu");
  return *found;
}

}  // namespace

std::string JoinedPath(const std::vector<std::string>& path) {
  std::string joined;
  for (const auto& caption : path) joined += (joined.empty() ? "" : " > ") + caption;
  return joined;
}

ShownContextMenu::ShownContextMenu(ApplicationObject& application, ContextMenu kind, com::ComPtr<IDispatch> context,
                                   const std::vector<office::CustomUi>& customUis)
    : kind_(kind), context_(std::move(context)) {
  application_.CopyFrom(&application);
  const MenuKind& menu = KindOf(kind);
  const int major = application.Session()->MajorVersion();
  barName_ = menu.barName;
  if (major >= kDisplayEventVersion) {
    bars_ = office::CreateContextMenuBar(barName_);
    application.Fire(ids::kApplicationEvents11, menu.displayEvent, bars_, context_);
    if (major >= kRibbonMenuVersion) ribbon_.emplace(customUis, menu.idMso);
    return;
  }
  const bool hasBar = menu.explorerBar && (major >= 10 || kind == ContextMenu::Folder);
  if (!hasBar) return;
  const auto explorer = application.Session()->ActiveExplorer();
  if (!explorer) throw std::logic_error("a context menu needs an explorer");
  bars_ = explorer->CommandBars();
  // Outlook 2002 and 2003 refresh every command bar before showing one of their menus.
  if (major >= 10) office::RaiseOnUpdate(*bars_.Get());
}

std::vector<office::MenuEntry> ShownContextMenu::Entries() const {
  if (ribbon_) return ribbon_->Entries();
  if (!bars_) return {};
  return office::CommandBarsDriver(*bars_.Get()).MenuEntries(barName_);
}

bool ShownContextMenu::Enabled(const std::vector<std::string>& path) const {
  const auto entries = Entries();
  const auto entry =
      std::find_if(entries.begin(), entries.end(), [&](const office::MenuEntry& each) { return each.path == path; });
  if (entry == entries.end()) throw std::invalid_argument("the menu has no entry \"" + JoinedPath(path) + "\"");
  if (entry->submenu) throw std::invalid_argument("\"" + JoinedPath(path) + "\" opens a submenu");
  return entry->enabled;
}

MenuChoice ShownContextMenu::Click(const std::vector<std::string>& path) {
  MenuChoice choice;
  choice.taken = true;
  if (ribbon_) {
    choice.action = ribbon_->Choose(path, context_);
  } else {
    choice.click = office::CommandBarsDriver(*bars_.Get()).ClickMenuEntry(barName_, path);
  }
  return choice;
}

void ShownContextMenu::RaiseClose() {
  if (application_->Session()->MajorVersion() < kDisplayEventVersion) return;
  application_->Fire(ids::kApplicationEvents11, ids::dispid::kContextMenuClose, static_cast<int>(kind_));
}

}  // namespace qor::standin
