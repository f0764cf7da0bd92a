#include <string>

#include "host/automation/automation_object.h"
#include "host/automation/automation_wrappers.h"
#include "host/automation/outlook_ids.h"

namespace qor::host::automation {

namespace {

class AutomationItem : public OutlookObject, public virtual host::Item {
 public:
  using OutlookObject::OutlookObject;

  host::ItemClass Class() const override { return static_cast<host::ItemClass>(Number("Class")); }
  std::string EntryID() const override { return Text("EntryID"); }
  std::string Body() const override { return Text("Body"); }
  void SetBody(const std::string& body) override { PutText("Body", body); }
  std::shared_ptr<host::Item> Move(host::Folder& destination) override {
    return WrapItem(Call("Move", FolderObject(destination)).RequiredObject());
  }
};

class AutomationContact : public AutomationItem, public host::ContactItem {
 public:
  using AutomationItem::AutomationItem;

  std::string FullName() const override { return Text("FullName"); }
  std::string CompanyName() const override { return Text("CompanyName"); }
  std::string BusinessTelephoneNumber() const override { return Text("BusinessTelephoneNumber"); }
  std::string Email1Address() const override { return Text("Email1Address"); }
  std::string Email2Address() const override { return Text("Email2Address"); }
  std::string Email3Address() const override { return Text("Email3Address"); }
  void SetEmail1Address(const std::string& value) override { PutText("Email1Address", value); }
  void SetEmail2Address(const std::string& value) override { PutText("Email2Address", value); }
  void SetEmail3Address(const std::string& value) override { PutText("Email3Address", value); }
  void Save() override { Call("Save"); }
  void Close(host::CloseMode mode) override { Call("Close", static_cast<int>(mode)); }
  std::shared_ptr<host::ContactItem> Copy() override { return WrapContact(Call("Copy").RequiredObject()); }
};

// How an item is wrapped: as a contact or not, and the object name its errors give.
struct ItemKind {
  bool contact;
  std::string_view type;
};

// Outlook's items describe themselves by their dispinterface: asking for it (GetTypeInfo) costs
// less than a call of Class and also lets the item share its DISPIDs with all items of its kind.
// An item that does not say is asked its Class.
ItemKind KindOf(com::Dispatch& item) {
  const IID& iid = item.Type().Iid();
  if (iid == outlook_ids::kContactItem) return {true, "ContactItem"};
  if (iid == outlook_ids::kMailItem) return {false, "MailItem"};
  if (iid == outlook_ids::kReportItem) return {false, "ReportItem"};
  switch (static_cast<host::ItemClass>(AsHostCall("Item", "Class", [&] { return item.Get("Class").ToInt(); }))) {
    case host::ItemClass::Contact:
      return {true, "ContactItem"};
    case host::ItemClass::Mail:
      return {false, "MailItem"};
    case host::ItemClass::Note:
      return {false, "NoteItem"};
    case host::ItemClass::Report:
      return {false, "ReportItem"};
  }
  return {false, "Item"};
}

}  // namespace

std::shared_ptr<host::Item> WrapItem(com::ComPtr<IDispatch> item) {
  if (!item) return nullptr;
  com::Dispatch dispatch(std::move(item));
  const ItemKind kind = KindOf(dispatch);
  if (kind.contact) return std::make_shared<AutomationContact>(kind.type, std::move(dispatch));
  return std::make_shared<AutomationItem>(kind.type, std::move(dispatch));
}

std::shared_ptr<host::ContactItem> WrapContact(com::ComPtr<IDispatch> contact) {
  if (!contact) return nullptr;
  return std::make_shared<AutomationContact>("ContactItem", std::move(contact));
}

}  // namespace qor::host::automation
