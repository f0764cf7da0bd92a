#include "host/automation/automation_object.h"
#include "host/automation/automation_wrappers.h"

namespace qor::host::automation {

namespace {

class AutomationItems : public OutlookObject, public host::Items {
 public:
  using OutlookObject::OutlookObject;

  int Count() override { return Number("Count"); }
  std::shared_ptr<host::Item> Item(int index) override { return WrapItem(Call("Item", index).RequiredObject()); }
  // The filter goes to Outlook unchanged: its restriction syntax is Outlook's to judge.
  std::shared_ptr<host::Items> Restrict(const std::string& filter) override {
    return WrapItems(Call("Restrict", filter).RequiredObject());
  }
  // Past the end Outlook answers Nothing.
  std::shared_ptr<host::Item> GetFirst() override { return WrapItem(Call("GetFirst").Object()); }
  std::shared_ptr<host::Item> GetNext() override { return WrapItem(Call("GetNext").Object()); }
};

}  // namespace

std::shared_ptr<host::Items> WrapItems(com::ComPtr<IDispatch> items) {
  if (!items) return nullptr;
  return std::make_shared<AutomationItems>("Items", std::move(items));
}

}  // namespace qor::host::automation
