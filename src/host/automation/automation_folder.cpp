#include "host/automation/automation_object.h"
#include "host/automation/automation_table.h"
#include "host/automation/automation_wrappers.h"
#include "host/automation/outlook_ids.h"
#include "host/contact_addresses.h"

namespace qor::host::automation {

namespace {

class AutomationFolder : public OutlookObject, public host::Folder {
 public:
  using OutlookObject::OutlookObject;

  std::string Name() override { return Text("Name"); }
  // A top-level folder's parent is the namespace, which is no folder.
  std::shared_ptr<host::Folder> Parent() override { return WrapFolderIfFolder(Get("Parent").Object()); }
  std::shared_ptr<host::Folders> Folders() override { return WrapFolders(Get("Folders").RequiredObject()); }
  std::shared_ptr<host::Items> Items() override { return WrapItems(Get("Items").RequiredObject()); }
  std::string EntryID() override { return Text("EntryID"); }
  std::string StoreID() override { return Text("StoreID"); }
  host::ItemType DefaultItemType() override { return static_cast<host::ItemType>(Number("DefaultItemType")); }
  // Outlook 2007 and later hand out a folder's rows through a Table, a batch per call; before, the
  // items are walked one by one.
  std::vector<host::ContactAddresses> ContactAddressList() override {
    if (const auto table = CallIfKnown("GetTable")) return ContactAddressesOfTable(table->RequiredObject());
    return host::ContactAddressesOf(*Items());
  }
};

class AutomationFolders : public OutlookObject, public host::Folders {
 public:
  using OutlookObject::OutlookObject;

  int Count() override { return Number("Count"); }
  std::shared_ptr<host::Folder> Item(int index) override { return WrapFolder(Call("Item", index).RequiredObject()); }
  // Outlook matches the name ignoring case and fails for an unknown one.
  std::shared_ptr<host::Folder> Item(const std::string& name) override {
    return WrapFolder(Call("Item", name).RequiredObject());
  }
};

}  // namespace

std::shared_ptr<host::Folder> WrapFolder(com::ComPtr<IDispatch> folder) {
  if (!folder) return nullptr;
  return std::make_shared<AutomationFolder>("MAPIFolder", std::move(folder));
}

std::shared_ptr<host::Folder> WrapFolderIfFolder(com::ComPtr<IDispatch> object) {
  if (!object) return nullptr;
  com::ComPtr<IUnknown> folder;
  // MAPIFolder is the interface every Outlook folder offers and a namespace does not.
  if (FAILED(object->QueryInterface(outlook_ids::kMapiFolder, folder.PutVoid()))) return nullptr;
  return WrapFolder(std::move(object));
}

std::shared_ptr<host::Folders> WrapFolders(com::ComPtr<IDispatch> folders) {
  if (!folders) return nullptr;
  return std::make_shared<AutomationFolders>("Folders", std::move(folders));
}

com::ComPtr<IDispatch> FolderObject(host::Folder& folder) {
  const auto* wrapped = dynamic_cast<const AutomationFolder*>(&folder);
  if (wrapped == nullptr) throw HostError("The folder is not one of this Outlook's folders.");
  return wrapped->Object();
}

}  // namespace qor::host::automation
