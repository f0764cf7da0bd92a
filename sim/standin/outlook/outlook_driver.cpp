#include "standin/outlook/outlook_driver.h"

#include <array>
#include <stdexcept>
#include <utility>

#include "com/dispatch_call.h"
#include "standin/office/command_bars_standin.h"
#include "standin/outlook/application_object.h"
#include "standin/outlook/property_pages_object.h"

namespace qor::standin {

std::string OutlookVersionText(int majorVersion) {
  switch (majorVersion) {
    case 9:
      return "9.0.0.6627";
    case 10:
      return "10.0.0.6515";
    case 11:
      return "11.0.0.8312";
    case 12:
      return "12.0.0.6680";
    case 14:
      return "14.0.0.7266";
    case 15:
      return "15.0.0.5553";
    case 16:
      return "16.0.0.4266";
    default:
      return std::to_string(majorVersion) + ".0.0.0";
  }
}

OutlookDriver::OutlookDriver(std::shared_ptr<host::memory::MemoryOutlook> outlook, int majorVersion) {
  if (!outlook) throw std::invalid_argument("the driver needs an in-memory Outlook");
  if (majorVersion != 0 && (majorVersion < 9 || majorVersion > 16))
    throw std::invalid_argument("Outlook's major versions run from 9 to 16");
  std::string version = majorVersion == 0 ? outlook->VersionText() : OutlookVersionText(majorVersion);
  application_ = com::Make<ApplicationObject>(OutlookSession::Create(std::move(outlook), std::move(version)));
}

OutlookDriver::~OutlookDriver() = default;

com::ComPtr<IDispatch> OutlookDriver::Application() const { return application_; }

int OutlookDriver::MajorVersion() const noexcept { return application_->Session()->MajorVersion(); }

const std::string& OutlookDriver::VersionText() const noexcept { return application_->Session()->VersionText(); }

com::ComPtr<IDispatch> OutlookDriver::ActiveExplorer() const { return application_->Session()->ActiveExplorer(); }

com::ComPtr<IDispatch> OutlookDriver::ActiveInspector() const { return application_->Session()->ActiveInspector(); }

com::ComPtr<IDispatch> OutlookDriver::OpenExplorer(std::shared_ptr<host::memory::MemoryFolder> folder) {
  const auto& session = application_->Session();
  std::shared_ptr<host::Folder> shown = folder;
  if (!shown) {
    if (const auto active = session->ActiveExplorer()) shown = active->Folder();
  }
  if (!shown) shown = session->Outlook()->ActiveExplorerFolder();
  if (!shown && !session->Outlook()->Stores().empty()) shown = session->Outlook()->Stores().front();
  if (!shown) throw std::logic_error("an explorer needs a folder to show");
  return session->OpenExplorer(std::move(shown), true);
}

com::ComPtr<IDispatch> OutlookDriver::OpenInspector(std::shared_ptr<host::Item> item) {
  if (!item) throw std::invalid_argument("an inspector needs an item");
  return application_->Session()->OpenInspector(std::move(item));
}

void OutlookDriver::Activate(IDispatch& window) {
  OutlookWindow* found = application_->Session()->FindWindow(&window);
  if (found == nullptr) throw std::invalid_argument("not an open window of this Outlook");
  application_->Session()->Activate(*found);
}

void OutlookDriver::Close(IDispatch& window) {
  OutlookWindow* found = application_->Session()->FindWindow(&window);
  if (found == nullptr) throw std::invalid_argument("not an open window of this Outlook");
  application_->Session()->Close(*found);
}

ExplorerObject& OutlookDriver::ExplorerOf(IDispatch& window) const {
  OutlookWindow* found = application_->Session()->FindWindow(&window);
  if (found == nullptr || !found->IsExplorer()) throw std::invalid_argument("not an open explorer of this Outlook");
  return static_cast<ExplorerObject&>(*found);
}

bool OutlookDriver::SwitchFolder(IDispatch& explorer, std::shared_ptr<host::memory::MemoryFolder> folder) {
  if (!folder) throw std::invalid_argument("an explorer needs a folder to show");
  return application_->Session()->SwitchFolder(ExplorerOf(explorer), std::move(folder));
}

bool OutlookDriver::SwitchView(IDispatch& explorer, const std::string& view) {
  return application_->Session()->SwitchView(ExplorerOf(explorer), view);
}

void OutlookDriver::ChangeSelection(IDispatch& explorer) {
  ExplorerOf(explorer).RaiseWindowEvent(ids::dispid::kSelectionChange);
}

void OutlookDriver::Quit() {
  CloseContextMenu();
  application_->Session()->CloseAll();
  application_->RaiseApplicationEvent(ids::dispid::kQuit, {});
}

com::ComPtr<IDispatch> OutlookDriver::ShowOptions() {
  const com::ComPtr<IDispatch> pages = com::Make<PropertyPagesObject>();
  const std::array<com::Variant, 1> args{com::Variant(pages)};
  application_->RaiseApplicationEvent(ids::dispid::kOptionsPagesAdd, args);
  return pages;
}

com::ComPtr<IDispatch> OutlookDriver::ShowFolderProperties(std::shared_ptr<host::memory::MemoryFolder> folder) {
  if (!folder) throw std::invalid_argument("a property sheet needs a folder");
  const auto& nameSpace = application_->Session()->NameSpace();
  const com::ComPtr<IDispatch> pages = com::Make<PropertyPagesObject>();
  nameSpace->Fire(ids::kNameSpaceEvents, ids::dispid::kNameSpaceOptionsPagesAdd, pages,
                  nameSpace->MakeFolder(std::move(folder)));
  return pages;
}

void OutlookDriver::RightClickFolder(std::shared_ptr<host::memory::MemoryFolder> folder) {
  if (!folder) throw std::invalid_argument("a folder menu needs a folder");
  OpenContextMenu(ContextMenu::Folder, application_->Session()->NameSpace()->MakeFolder(std::move(folder)));
}

void OutlookDriver::OpenContextMenu(ContextMenu kind, com::ComPtr<IDispatch> context) {
  CloseContextMenu();
  menu_ = std::make_unique<ShownContextMenu>(*application_, kind, std::move(context), customUis_);
}

std::vector<office::MenuEntry> OutlookDriver::ContextMenuEntries() const {
  if (!menu_) throw std::logic_error("no context menu is open");
  return menu_->Entries();
}

MenuChoice OutlookDriver::ChooseContextMenuEntry(const std::vector<std::string>& path) {
  if (!menu_) throw std::logic_error("no context menu is open");
  if (!menu_->Enabled(path)) return {};
  // The menu is gone from the screen before the click's handlers run; they may open the next one.
  const std::unique_ptr<ShownContextMenu> chosen = std::move(menu_);
  MenuChoice choice = chosen->Click(path);
  chosen->RaiseClose();
  return choice;
}

void OutlookDriver::CloseContextMenu() {
  if (const std::unique_ptr<ShownContextMenu> open = std::move(menu_)) open->RaiseClose();
}

void OutlookDriver::SetExplorerCustomUi(office::CustomUi customUi) {
  RemoveExplorerCustomUi(customUi.owner);
  customUis_.push_back(std::move(customUi));
}

void OutlookDriver::RemoveExplorerCustomUi(const std::string& owner) {
  std::erase_if(customUis_, [&](const office::CustomUi& each) { return each.owner == owner; });
}

}  // namespace qor::standin
