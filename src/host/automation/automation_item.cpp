#include <string>

#include "host/automation/automation_object.h"
#include "host/automation/automation_wrappers.h"

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
    return WrapItem(RequiredObjectOf(Call("Move", FolderObject(destination)), "Move"));
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
  std::shared_ptr<host::ContactItem> Copy() override { return WrapContact(RequiredObjectOf(Call("Copy"), "Copy")); }
};

}  // namespace

std::shared_ptr<host::Item> WrapItem(com::ComPtr<IDispatch> item) {
  if (!item) return nullptr;
  com::Dispatch dispatch(std::move(item));
  const int itemClass = AsHostCall([&] { return dispatch.Get("Class").ToInt(); });
  if (itemClass == static_cast<int>(host::ItemClass::Contact))
    return std::make_shared<AutomationContact>(std::move(dispatch));
  return std::make_shared<AutomationItem>(std::move(dispatch));
}

std::shared_ptr<host::ContactItem> WrapContact(com::ComPtr<IDispatch> contact) {
  if (!contact) return nullptr;
  return std::make_shared<AutomationContact>(std::move(contact));
}

}  // namespace qor::host::automation
